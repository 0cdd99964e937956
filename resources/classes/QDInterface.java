// What a page's script may ask of the QuillDeck plug-in.
public interface QDInterface {
    String getVersion();
}
