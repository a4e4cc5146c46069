"""Install.xml as the real installer reads it from its distribution: the sample file beside it,
a file one folder above it, and a file that is ignored."""

import os

from harness import EXIT_SUCCESS, PrefixTestCase


def ovic(settings, version="1"):
    return ('<?xml version="1.0" encoding="UTF-8"?>\r\n'
            f'<OvIC version="{version}">\r\n  <Settings>\r\n{settings}  </Settings>\r\n</OvIC>\r\n')


class InstallXmlTest(PrefixTestCase):

    def run_setup(self):
        result = self.wine.run(self.SETUP, "/silent/noRun", timeout=90)
        self.assertEqual(result.returncode, EXIT_SUCCESS)
        return self.wine.log_text()

    def test_sample_distribution_file_is_read(self):
        log = self.run_setup()
        self.assertInOrder(log, [
            "ReadInstallXml: Install.xml: C:\\dist\\Install.xml (read)",
            "ReadInstallXml: Support folders: C:\\dist\\Support\\; C:\\dist\\Support\\Shared\\",
            "ReadInstallXml: Allow downgrade: 1; bundled media folder: (none)",
            "Install configuration read",
        ])

    def test_file_one_folder_above_the_installer(self):
        os.remove(os.path.join(self.dist, "Install.xml"))
        os.makedirs(os.path.join(self.dist, "Extra"))
        os.makedirs(self.wine.unix_path("C:\\Media"))
        with open(self.wine.unix_path("C:\\Install.xml"), "w", encoding="utf-8", newline="") as f:
            f.write(ovic("    <SupportFiles>dist\\Extra</SupportFiles>\r\n"
                         "    <AllowDowngrade>false</AllowDowngrade>\r\n"
                         "    <BundledMedia>Media</BundledMedia>\r\n"))
        log = self.run_setup()
        self.assertIn("ReadInstallXml: Install.xml: C:\\dist\\..\\Install.xml (read)", log)
        self.assertIn("ReadInstallXml: Support folders: C:\\dist\\Support\\; C:\\dist\\Extra\\", log)
        self.assertIn("ReadInstallXml: Allow downgrade: 0; bundled media folder: C:\\Media\\", log)

    def test_version_below_one_is_ignored(self):
        os.makedirs(os.path.join(self.dist, "Extra"))
        with open(os.path.join(self.dist, "Install.xml"), "w", encoding="utf-8", newline="") as f:
            f.write(ovic("    <SupportFiles>Extra</SupportFiles>\r\n    <AllowDowngrade>0</AllowDowngrade>\r\n",
                         version="0.9"))
        log = self.run_setup()
        self.assertIn("ReadInstallXml: Install.xml: C:\\dist\\Install.xml (not an install configuration)", log)
        self.assertIn("ReadInstallXml: Support folders: C:\\dist\\Support\\\n", log.replace("\r\n", "\n"))
        self.assertIn("ReadInstallXml: Allow downgrade: 1; bundled media folder: (none)", log)
