#!/usr/bin/env python3
"""Tests of the manual's build and link-check tools on small made-up manuals."""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_links  # noqa: E402
import make_manual  # noqa: E402


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


class SmallManual:
    """A three-page manual source in a temporary folder."""

    def __init__(self, folder):
        self.source = os.path.join(folder, "help")
        write(os.path.join(self.source, "contents.txt"),
              "# comment\n"
              "Start | Welcome.htm | Welcome.md | Welcome | quick start\n"
              "Sound | Two Words.htm | Two.md | Two words | zebra; apple\n"
              "Sound | Third.htm | Third.md | Third page |\n")
        write(os.path.join(self.source, "manual.css"), "body { }\n")
        write(os.path.join(self.source, "pages", "Welcome.md"),
              "Intro \u00d7 2.\n\n## Part\n\n{{contents}}\n")
        write(os.path.join(self.source, "pages", "Two.md"),
              "## Part one\n\nSee [[Third.htm]] and [[Welcome.htm#part|here]].\n")
        write(os.path.join(self.source, "pages", "Third.md"),
              "Back to [[Two Words.htm#part-one|the second page]].\n")

    def build(self):
        pages = make_manual.read_contents(os.path.join(self.source, "contents.txt"))
        return pages, make_manual.build_documents(self.source, pages)


class MakeManualTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.manual = SmallManual(self.tmp.name)

    def tearDown(self):
        self.tmp.cleanup()

    def test_pages_carry_title_stylesheet_navigation_and_ascii_only(self):
        pages, files = self.manual.build()
        self.assertEqual(sorted(files), ["Third.htm", "Two Words.htm", "Welcome.htm", "manual.css"])
        two = files["Two Words.htm"].decode("ascii")
        self.assertIn("<h1>Two words</h1>", two)
        self.assertIn('href="manual.css"', two)
        self.assertIn('Previous: <a href="Welcome.htm">Welcome</a>', two)
        self.assertIn('Next: <a href="Third.htm">Third page</a>', two)
        self.assertIn('<a href="Third.htm">Third page</a>', two)
        self.assertIn('<h2 id="part-one">', two)
        self.assertIn("&#215;", files["Welcome.htm"].decode("ascii"))

    def test_welcome_contents_link_every_other_page(self):
        _, files = self.manual.build()
        welcome = files["Welcome.htm"].decode("ascii")
        self.assertIn('<a href="Two%20Words.htm">Two words</a>', welcome)
        self.assertIn('<a href="Third.htm">Third page</a>', welcome)
        self.assertNotIn("{{contents}}", welcome)

    def test_link_to_a_page_outside_the_list_stops_the_build(self):
        write(os.path.join(self.manual.source, "pages", "Third.md"), "[[Missing.htm]]\n")
        with self.assertRaises(SystemExit):
            self.manual.build()

    def test_missing_picture_stops_the_build_and_a_present_one_is_carried(self):
        write(os.path.join(self.manual.source, "pages", "Third.md"), "![x](images/shot.png)\n")
        with self.assertRaises(SystemExit):
            self.manual.build()
        os.makedirs(os.path.join(self.manual.source, "images"))
        with open(os.path.join(self.manual.source, "images", "shot.png"), "wb") as f:
            f.write(b"\x89PNG")
        _, files = self.manual.build()
        self.assertEqual(files["images/shot.png"], b"\x89PNG")

    def test_a_file_listed_twice_or_a_short_line_is_refused(self):
        path = os.path.join(self.manual.source, "contents.txt")
        write(path, "A | Welcome.htm | Welcome.md | W |\nA | welcome.htm | Two.md | T |\n")
        with self.assertRaises(SystemExit):
            make_manual.read_contents(path)
        write(path, "A | Welcome.htm | Welcome.md\n")
        with self.assertRaises(SystemExit):
            make_manual.read_contents(path)

    def test_contents_index_and_project_come_from_the_list(self):
        pages, files = self.manual.build()
        hhc = make_manual.contents_file(pages)
        self.assertLess(hhc.index('value="Start"'), hhc.index('value="Welcome.htm"'))
        self.assertLess(hhc.index('value="Sound"'), hhc.index('value="Two Words.htm"'))
        self.assertLess(hhc.index('value="Two Words.htm"'), hhc.index('value="Third.htm"'))
        hhk = make_manual.index_file(pages)
        names = [hhk.index('value="%s"' % word) for word in
                 ("apple", "quick start", "Third page", "Two words", "Welcome", "zebra")]
        self.assertEqual(names, sorted(names))
        hhp = make_manual.project_file(pages, files, "Test.chm")
        self.assertIn("Default topic=Welcome.htm", hhp)
        self.assertIn("\r\nTwo Words.htm\r\n", hhp)

    def test_write_tree_removes_pages_no_longer_in_the_manual_only(self):
        _, files = self.manual.build()
        out = os.path.join(self.tmp.name, "out")
        write(os.path.join(out, "Old.htm"), "old")
        write(os.path.join(out, "notes.txt"), "kept")
        make_manual.write_tree(out, files)
        self.assertFalse(os.path.exists(os.path.join(out, "Old.htm")))
        self.assertTrue(os.path.exists(os.path.join(out, "notes.txt")))
        self.assertTrue(os.path.exists(os.path.join(out, "Two Words.htm")))


class PresetsTest(unittest.TestCase):
    """The presets page is built from the preset bank's own table."""

    BANK = ("# Factory presets\n\nIntro.\n\n"
            "| Preset | Character | Osc. | Play, LFO |\n"
            "|---|---|---|---|\n"
            "| [Big Pad](#big-pad) | A wide pad. | 24 | poly |\n"
            "| [Kick Bass](#kick-bass) | A kick. | 3 | mono, glide 10 ms |\n"
            "\n## Spectrograms\n\n### Big Pad\n\n![Big Pad](presets/big-pad.png)\n")

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.manual = SmallManual(self.tmp.name)
        write(os.path.join(self.manual.source, "pages", "Third.md"),
              "Presets:\n\n{{presets ../presets.md}}\n")
        write(os.path.join(self.tmp.name, "presets.md"), self.BANK)
        os.makedirs(os.path.join(self.tmp.name, "presets"))
        with open(os.path.join(self.tmp.name, "presets", "big-pad.png"), "wb") as f:
            f.write(b"\x89PNG pad")

    def tearDown(self):
        self.tmp.cleanup()

    def test_every_preset_gets_a_row_a_section_its_picture_and_index_entry(self):
        pages, files = self.manual.build()
        third = files["Third.htm"].decode("ascii")
        self.assertIn('<a href="#big-pad">Big Pad</a>', third)
        self.assertIn('<h3 id="kick-bass">Kick Bass</h3>', third)
        self.assertIn("<td>Oscillators</td>\n<td>24</td>", third)
        self.assertIn("mono, glide 10 ms", third)
        self.assertEqual(files["images/presets/big-pad.png"], b"\x89PNG pad")
        self.assertNotIn("images/presets/kick-bass.png", files)
        hhk = make_manual.index_file(pages)
        self.assertIn('value="Third.htm#kick-bass"', hhk)

    def test_a_row_that_does_not_fit_the_columns_stops_the_build(self):
        write(os.path.join(self.tmp.name, "presets.md"),
              self.BANK.replace("| A kick. | 3 |", "| A kick. |"))
        with self.assertRaises(SystemExit):
            self.manual.build()


class CheckLinksTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def page(self, name, body):
        write(os.path.join(self.root, name), "<html><body>%s</body></html>" % body)

    def test_built_small_manual_has_no_faults(self):
        manual = SmallManual(self.root)
        _, files = manual.build()
        out = os.path.join(self.root, "html")
        make_manual.write_tree(out, files)
        self.assertEqual(check_links.check(out, "Welcome.htm"), (3, []))

    def test_missing_files_anchors_and_pictures_are_reported(self):
        self.page("A.htm", '<a href="B.htm#top">b</a> <a href="Gone.htm">x</a> '
                           '<img src="images/none.png"> <a href="#here">self</a> '
                           '<a href="https://example.org/">web</a>')
        self.page("B.htm", '<h2 id="other">B</h2> <a href="A%20B.htm">c</a>')
        self.page("A B.htm", "")
        count, faults = check_links.check(self.root, None)
        self.assertEqual(count, 3)
        self.assertEqual(len(faults), 4, faults)
        text = "\n".join(faults)
        for expected in ('no anchor "top"', "Gone.htm", "images/none.png", 'no anchor "here"'):
            self.assertIn(expected, text)

    def test_hub_must_link_every_other_page(self):
        self.page("Welcome.htm", '<a href="A.htm">a</a>')
        self.page("A.htm", '<a href="B.htm">b</a>')
        self.page("B.htm", "")
        _, faults = check_links.check(self.root, "Welcome.htm")
        self.assertEqual(faults, ["Welcome.htm does not link B.htm"])


class ChmBuildTest(unittest.TestCase):
    @unittest.skipUnless(subprocess.run(["sh", "-c", "command -v chmcmd"],
                                        stdout=subprocess.DEVNULL).returncode == 0,
                         "chmcmd is not installed")
    def test_compiled_help_file_is_made(self):
        with tempfile.TemporaryDirectory() as tmp:
            manual = SmallManual(tmp)
            pages, files = manual.build()
            chm = os.path.join(tmp, "out", "Test.chm")
            make_manual.build_chm(files, pages, chm, "chmcmd")
            with open(chm, "rb") as f:
                self.assertEqual(f.read(4), b"ITSF")


if __name__ == "__main__":
    unittest.main()
