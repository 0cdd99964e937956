#!/usr/bin/env python3
"""Compiles the two classes and stores them, uncompressed and with fixed
timestamps, in QDPlugin.zip: the archive the setup writes beside the plug-in.

    python3 make_archive.py OUT.zip
"""
import os
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
FIXED_TIME = (1997, 6, 1, 12, 0, 0)


def main():
    out = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(["javac", "--release", "8", "-g:none", "-d", work,
                        os.path.join(HERE, "QDInterface.java"),
                        os.path.join(HERE, "QDPlugin.java")], check=True)
        with zipfile.ZipFile(out, "w", zipfile.ZIP_STORED) as archive:
            for name in ("QDPlugin.class", "QDInterface.class"):
                info = zipfile.ZipInfo(name, FIXED_TIME)
                info.compress_type = zipfile.ZIP_STORED
                info.external_attr = 0o644 << 16
                with open(os.path.join(work, name), "rb") as f:
                    archive.writestr(info, f.read())


if __name__ == "__main__":
    main()
