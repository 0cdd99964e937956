// The Java side of the QuillDeck plug-in, loaded by Navigator 3 and later
// from QDPlugin.zip in the plugins folder.
public class QDPlugin implements QDInterface {
    private static final String VERSION = "3.0.1.123.2";

    public String getVersion() {
        return VERSION;
    }

    public boolean isReady() {
        return true;
    }
}
