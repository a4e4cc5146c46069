"""The installer's start-up on a real distribution: order of the steps, the single instance,
and the failures of the tools library."""

import os
import unittest

from harness import (EXIT_ANOTHER_INSTANCE, EXIT_SUCCESS, EXIT_TOOLS_LIBRARY_FAILED, PrefixTestCase)

VIRTUAL_STORE = "HKCU\\Software\\Classes\\VirtualStore\\Machine\\Software"
ANOTHER_INSTANCE_TEXT = ("Another instance of the Orvane installer is already running on this system.\r\n\r\n"
                         "Please finish any other Orvane installations and try again.")


class StartupTest(PrefixTestCase):

    def test_runs_every_step_in_order_and_exits_normally(self):
        # Stale virtualised data: an empty key is removed, a key with subkeys stays.
        self.wine.reg_add(VIRTUAL_STORE + "\\Orvane")
        self.wine.reg_add(VIRTUAL_STORE + "\\Wow6432Node\\Orvane\\Kept")

        result = self.wine.run(self.SETUP, "/silent/noRun", "/DistributorID", "XY12", timeout=90)

        self.assertEqual(result.returncode, EXIT_SUCCESS)
        log = self.wine.log_text()
        self.assertInOrder(log, [
            "CInstallApp::Startup: Start",
            "Single-instance mutex created (error 0)",
            "Virtualised registry data removed",
            "Process information block: data and libraries folder C:\\dist\\Kestrel Deck\\",
            "Product description loaded: Aurora Hall",
            "Install configuration read",
            'Command line: C:\\dist\\Setup.exe /silent/noRun /DistributorID XY12',
            "SkinService::SetTitleBarIcon: Titlebar Icon",
            "SkinService::LoadSkin: C:\\dist\\Kestrel Deck\\Skins\\Standard View\\",
            "RunPreInstallChecks: Start",
            "Launcher renamed to Aurora Hall Launcher.exe",
            "CInstallWizard::RunModal: Start",
            "Wizard ended (exit code 0)",
            "CInstallApp::Startup: Finish (",
            "CInstallApp::Shutdown: Exit code 0",
            "OvTools::Release",
            "OvTools::Uninitialize",
        ])
        self.assertIn("OvTools::Initialize: Tools library loaded from C:\\dist\\Kestrel Deck\\", log)
        self.assertNotIn("MessageBox", log)

        always = os.path.join(self.dist, "System", "Always Overwrite")
        self.assertTrue(os.path.exists(os.path.join(always, "Aurora Hall Launcher.exe")))
        self.assertFalse(os.path.exists(os.path.join(always, "Aurora Core Launcher.exe")))

        self.assertFalse(self.wine.reg_key_exists(VIRTUAL_STORE + "\\Orvane"))
        self.assertTrue(self.wine.reg_key_exists(VIRTUAL_STORE + "\\Wow6432Node\\Orvane\\Kept"))

    def test_preferred_skin_is_loaded_when_it_is_a_standard_view_skin(self):
        skins = os.path.join(self.dist, "Kestrel Deck", "Skins", "Standard View")
        for name, main in (("Night", '<KDMS version="3.0"><MAINFRAME/></KDMS>'),
                           ("Old", '<KDMS version="2.5"><MAINFRAME/></KDMS>')):
            os.makedirs(os.path.join(skins, name))
            with open(os.path.join(skins, name, "main.xml"), "w", encoding="utf-8") as f:
                f.write(main)
        description = os.path.join(self.dist, "Kestrel Deck", "ProductInfo.ini")
        with open(description, encoding="utf-8") as f:
            text = f.read()
        for preferred, loaded in (("Skins\\Night", "Standard View\\Night (loaded)"),
                                  ("Skins\\Old", "Standard View\\ (loaded)"),
                                  ("Night", "Standard View\\ (loaded)")):
            with self.subTest(preferred):
                with open(description, "w", encoding="utf-8") as f:
                    f.write(text.replace("MegaSkin=\n", f"MegaSkin={preferred}\n"))
                self.assertEqual(self.wine.run(self.SETUP, timeout=90).returncode, EXIT_SUCCESS)
                lines = [line for line in self.wine.log_text().splitlines() if "CInstallApp::SetUpSkin" in line]
                self.assertTrue(lines[-1].endswith(loaded), lines[-1])

    def test_goes_on_without_the_launcher_file(self):
        os.remove(os.path.join(self.dist, "System", "Always Overwrite", "Aurora Core Launcher.exe"))
        result = self.wine.run(self.SETUP, timeout=90)
        self.assertEqual(result.returncode, EXIT_SUCCESS)
        self.assertIn("CInstallWizard::RunModal: Start", self.wine.log_text())
        self.assertNotIn("Launcher renamed", self.wine.log_text())

    def test_second_installer_is_refused_while_the_mutex_is_held(self):
        self.wine.hold_mutex("Global\\Orvane Installer")
        setup = self.wine.spawn(self.SETUP)

        texts = self.wine.window_texts("Orvane Installer")
        self.assertIsNotNone(texts, "no 'Orvane Installer' box appeared")
        self.assertIn(ANOTHER_INSTANCE_TEXT, texts)
        self.assertIn("OK", texts)
        self.wine.screenshot("another-instance")
        self.wine.press("Orvane Installer", "OK")

        result = setup.wait(timeout=60)
        self.assertEqual(result.returncode, EXIT_ANOTHER_INSTANCE)
        log = self.wine.log_text()
        self.assertInOrder(log, [
            "Single-instance mutex created (error 183)",
            "Command line:",
            'MessageBox: "Orvane Installer": Another instance of the Orvane installer is already running',
            '"Orvane Installer" answered: OK',
            "CInstallApp::Shutdown: Exit code 2",
        ])
        self.assertNotIn("RunPreInstallChecks", log)
        self.assertNotIn("CInstallWizard", log)

    def test_refusal_comes_after_the_language_selection_and_is_translated(self):
        description = os.path.join(self.dist, "Kestrel Deck", "ProductInfo.ini")
        with open(description, encoding="utf-8") as f:
            text = f.read()
        with open(description, "w", encoding="utf-8") as f:
            f.write(text.replace("ShowLanguageSelection=0", "ShowLanguageSelection=1"))
        languages = os.path.join(self.dist, "Kestrel Deck", "Languages")
        os.makedirs(languages)
        with open(os.path.join(languages, "Deutsch.lng"), "w", encoding="utf-8") as f:
            f.write("[Translations]\n"
                    "Orvane Installer=Orvane-Installationsprogramm\n"
                    "Another instance of the Orvane installer is already running on this system.\\r\\n\\r\\n="
                    "Eine andere Installation von Orvane läuft bereits.\\r\\n\\r\\n\n")
        self.wine.hold_mutex("Global\\Orvane Installer")
        setup = self.wine.spawn(self.SETUP)

        texts = self.wine.window_texts("Language")
        self.assertIsNotNone(texts, "no language selection appeared")
        self.wine.screenshot("language-selection")
        # Second entry of the list (English is first), then OK.
        self.assertEqual(self.wine.helper("post", "--title", "Language", "--control", "900",
                                          "--message", "0x186", "--wparam", "1").returncode, 0)
        self.wine.press("Language", "OK")

        texts = self.wine.window_texts("Orvane-Installationsprogramm")
        self.assertIsNotNone(texts, "no translated refusal appeared")
        # The sentence without a translation stays as it is.
        self.assertIn("Eine andere Installation von Orvane läuft bereits.\r\n\r\n"
                      "Please finish any other Orvane installations and try again.", texts)
        self.wine.press("Orvane-Installationsprogramm", "OK")
        self.assertEqual(setup.wait(timeout=60).returncode, EXIT_ANOTHER_INSTANCE)
        self.assertInOrder(self.wine.log_text(), ["LanguageService::ShowLanguageSelection: Chosen: Deutsch",
                                                  'MessageBox: "Orvane-Installationsprogramm"'])
        self.assertEqual(self.wine.reg_value("HKCU\\Software\\Orvane\\Aurora Hall\\General", "Language"),
                         "Deutsch")

    def critical_error_text(self, screenshot):
        """Reads the 'Critical Error' box, presses OK and checks the exit code; answers the box's text."""
        setup = self.wine.spawn(self.SETUP)
        texts = self.wine.window_texts("Critical Error")
        self.assertIsNotNone(texts, "no 'Critical Error' box appeared")
        self.wine.screenshot(screenshot)
        self.wine.press("Critical Error", "OK")
        self.assertEqual(setup.wait(timeout=60).returncode, EXIT_TOOLS_LIBRARY_FAILED)
        self.assertNotIn("CInstallApp::Startup: Product description loaded", self.wine.log_text())
        return "\n".join(texts)

    def test_missing_tools_library_shows_the_critical_error(self):
        os.remove(os.path.join(self.dist, "Kestrel Deck", "OvTools.dll"))
        self.assertIn("The following module has failed to load:\r\nC:\\dist\\Setup.exe\r\n\r\n"
                      "It has reported the following error:\r\n\r\nFailed to load OvTools\r\n\r\n"
                      "Please reinstall the latest version of the program.",
                      self.critical_error_text("critical-error-no-library"))

    def test_faulty_product_description_shows_the_library_error(self):
        cases = [
            ("malformed", "[Product]\nName1=Aurora Hall\nthis line is not a setting\n",
             "It has reported the following error:\r\n\r\nThe product description could not be loaded. "
             "C:\\dist\\Kestrel Deck\\ProductInfo.ini, line 3: expected Name=Value: this line is not a setting"
             "\r\n\r\nPlease reinstall"),
            ("incomplete", "[Product]\nName0=A\nName1=A\nName2=A\nName3=A\nLauncherFile=L.exe\n",
             "has no value [Product] MainFile."),
            ("missing", None, "Cannot read the file C:\\dist\\Kestrel Deck\\ProductInfo.ini"),
        ]
        description = os.path.join(self.dist, "Kestrel Deck", "ProductInfo.ini")
        for name, content, expected in cases:
            with self.subTest(name):
                if content is None:
                    os.remove(description)
                else:
                    with open(description, "w", encoding="utf-8") as f:
                        f.write(content)
                self.assertIn(expected, self.critical_error_text("critical-error-description-" + name))


if __name__ == "__main__":
    unittest.main()
