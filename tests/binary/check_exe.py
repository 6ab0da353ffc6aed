"""The built oktalon.exe of one architecture, read as a Windows engineer reads it, without
running it (Wine skips what it does not know, and starts programs Windows would refuse):

- the manifest, strictly: well-formed XML, every element in its documented namespace and
  place, every attribute known, and the values the program declares;
- the PE header: the machine, a GUI program, and Windows 7 (6.1) as the oldest system;
- lean: no debug sections and no symbol table in the exe, its debug information in the debug
  file that its .gnu_debuglink names (with that file's CRC), and a code address read back to
  its source line from that file;
- the imports: every function the exe imports is in the checked-in list, with the oldest
  Windows that Microsoft documents for it, none newer than Windows 7; the list holds nothing
  this build does not import.

usage: check_exe.py x64|x86 OKTALON.EXE DEBUG_FILE IMPORT_LIST TOOL_PREFIX
  (TOOL_PREFIX: the binutils of the target, e.g. x86_64-w64-mingw32-)
"""

import os
import re
import subprocess
import sys
import unittest
import xml.parsers.expat
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe  # noqa: E402

ARCH, EXE, DEBUG_FILE, IMPORT_LIST, TOOL_PREFIX = (None,) * 5

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
WINDOWS_SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
WINDOWS_SETTINGS_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"

# Each element the manifest may hold: its namespace and name -> (its parent, its attributes).
DOCUMENTED = {
    (ASM_V1, "assembly"): (None, {"manifestVersion"}),
    (ASM_V1, "assemblyIdentity"): ({(ASM_V1, "assembly"), (ASM_V1, "dependentAssembly")},
                                   {"type", "name", "version", "processorArchitecture", "publicKeyToken",
                                    "language"}),
    (ASM_V1, "description"): ({(ASM_V1, "assembly")}, set()),
    (ASM_V1, "dependency"): ({(ASM_V1, "assembly")}, set()),
    (ASM_V1, "dependentAssembly"): ({(ASM_V1, "dependency")}, set()),
    (ASM_V3, "trustInfo"): ({(ASM_V1, "assembly")}, set()),
    (ASM_V3, "security"): ({(ASM_V3, "trustInfo")}, set()),
    (ASM_V3, "requestedPrivileges"): ({(ASM_V3, "security")}, set()),
    (ASM_V3, "requestedExecutionLevel"): ({(ASM_V3, "requestedPrivileges")}, {"level", "uiAccess"}),
    (COMPATIBILITY, "compatibility"): ({(ASM_V1, "assembly")}, set()),
    (COMPATIBILITY, "application"): ({(COMPATIBILITY, "compatibility")}, set()),
    (COMPATIBILITY, "supportedOS"): ({(COMPATIBILITY, "application")}, {"Id"}),
    (ASM_V3, "application"): ({(ASM_V1, "assembly")}, set()),
    (ASM_V3, "windowsSettings"): ({(ASM_V3, "application")}, set()),
    (WINDOWS_SETTINGS_2016, "longPathAware"): ({(ASM_V3, "windowsSettings")}, set()),
    (WINDOWS_SETTINGS_2005, "dpiAware"): ({(ASM_V3, "windowsSettings")}, set()),
    (WINDOWS_SETTINGS_2016, "dpiAwareness"): ({(ASM_V3, "windowsSettings")}, set()),
}
# Elements whose text is a value; every other element holds only white space.
WITH_TEXT = {(ASM_V1, "description"), (WINDOWS_SETTINGS_2016, "longPathAware"), (WINDOWS_SETTINGS_2005, "dpiAware"),
             (WINDOWS_SETTINGS_2016, "dpiAwareness")}

SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Windows Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
# The minimums the list names, oldest first. "msvcrt": a function of the system's C runtime
# (msvcrt.dll), for which Microsoft documents no minimum; mingw-w64 links only against the exports
# of the msvcrt.dll that Windows XP and every later Windows carry. The release runs on Windows 7
# SP1.
MINIMUM_RANK = {"2000": 0, "XP": 1, "msvcrt": 1, "Vista": 2, "7": 3, "8": 4, "8.1": 5, "10": 6}
OLDEST_SUPPORTED = "7"


class Element:
    def __init__(self, key, attributes, parent):
        self.key = key
        self.attributes = attributes
        self.parent = parent
        self.children = []
        self.text = ""


def parse_manifest(data):
    """The element tree of the manifest, parsed strictly (expat, namespaces resolved)."""
    parser = xml.parsers.expat.ParserCreate(encoding=None, namespace_separator=" ")
    root = []
    stack = []

    def start(name, attributes):
        key = tuple(name.split(" ", 1)) if " " in name else ("", name)
        element = Element(key, attributes, stack[-1] if stack else None)
        (stack[-1].children if stack else root).append(element)
        stack.append(element)

    def end(_name):
        stack.pop()

    def text(data):
        if stack:
            stack[-1].text += data

    parser.StartElementHandler = start
    parser.EndElementHandler = end
    parser.CharacterDataHandler = text
    parser.Parse(data, True)
    return root


def walk(element):
    yield element
    for child in element.children:
        yield from walk(child)


class Manifest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        resources = pe.PeFile(EXE).resources()
        cls.manifests = {key: value for key, value in resources.items() if key[0] == pe.RT_MANIFEST}
        cls.data = cls.manifests.get((pe.RT_MANIFEST, 1, 0x0405)) or b""

    def setUp(self):
        self.assertEqual(list(self.manifests), [(pe.RT_MANIFEST, 1, 0x0405)],
                         "one manifest, the program's (id 1), in Czech")
        self.roots = parse_manifest(self.data)
        self.root = self.roots[0]
        self.elements = list(walk(self.root))

    def find(self, namespace, name):
        return [e for e in self.elements if e.key == (namespace, name)]

    def test_is_well_formed_utf8_xml_with_one_assembly(self):
        self.assertTrue(self.data.startswith(b'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'))
        self.data.decode("utf-8")
        self.assertEqual(len(self.roots), 1)
        self.assertEqual(self.root.key, (ASM_V1, "assembly"))
        self.assertEqual(self.root.attributes, {"manifestVersion": "1.0"})

    def test_every_element_is_documented_in_its_namespace_and_place(self):
        for element in self.elements:
            with self.subTest(element=element.key):
                self.assertIn(element.key, DOCUMENTED, "not a documented element in that namespace")
                parents, attributes = DOCUMENTED[element.key]
                if parents is not None:
                    self.assertIn(element.parent.key if element.parent else None, parents)
                self.assertLessEqual(set(element.attributes), attributes, "unknown attributes")
                if element.key not in WITH_TEXT:
                    self.assertEqual(element.text.strip(), "", "text where none belongs")

    def test_identity_and_common_controls_6_for_this_architecture(self):
        architecture = {"x64": "amd64", "x86": "x86"}[ARCH]
        identities = self.find(ASM_V1, "assemblyIdentity")
        own = [i for i in identities if i.parent is self.root]
        self.assertEqual(len(own), 1)
        self.assertEqual(own[0].attributes["type"], "win32")
        self.assertEqual(own[0].attributes["name"], "Oktalon.HexViewer")
        self.assertRegex(own[0].attributes["version"], r"^\d+\.\d+\.\d+\.\d+$")
        self.assertEqual(own[0].attributes["processorArchitecture"].lower(), architecture)
        dependencies = [i.attributes for i in identities if i.parent is not self.root]
        self.assertEqual(len(dependencies), 1)
        self.assertEqual(
            {k: v.lower() for k, v in dependencies[0].items()},
            {"type": "win32", "name": "microsoft.windows.common-controls", "version": "6.0.0.0",
             "processorArchitecture": architecture, "publicKeyToken": "6595b64144ccf1df", "language": "*"})

    def test_runs_as_invoker_without_ui_access(self):
        levels = self.find(ASM_V3, "requestedExecutionLevel")
        self.assertEqual([e.attributes for e in levels], [{"level": "asInvoker", "uiAccess": "false"}])

    def test_supports_windows_vista_to_11(self):
        ids = [e.attributes["Id"] for e in self.find(COMPATIBILITY, "supportedOS")]
        self.assertEqual(sorted(ids), sorted(SUPPORTED_OS), "the ids of Windows Vista, 7, 8, 8.1 and 10/11")

    def test_is_long_path_aware(self):
        self.assertEqual([e.text for e in self.find(WINDOWS_SETTINGS_2016, "longPathAware")], ["true"])

    def test_is_per_monitor_v2_dpi_aware_with_the_older_kinds_after_it(self):
        # dpiAwareness (Windows 10 1607 and later) takes the first kind it knows; dpiAware is read
        # where it is not: per monitor on 8.1, the system's DPI on Vista and 7.
        self.assertEqual([e.text for e in self.find(WINDOWS_SETTINGS_2016, "dpiAwareness")],
                         ["PerMonitorV2, PerMonitor"])
        self.assertEqual([e.text for e in self.find(WINDOWS_SETTINGS_2005, "dpiAware")], ["true/pm"])


class Header(unittest.TestCase):
    def setUp(self):
        self.exe = pe.PeFile(EXE)

    def test_a_gui_program_of_this_architecture(self):
        self.assertEqual(self.exe.machine, {"x64": 0x8664, "x86": 0x14C}[ARCH])
        self.assertEqual(self.exe.is_64_bit, ARCH == "x64")
        self.assertEqual(self.exe.subsystem, 2, "IMAGE_SUBSYSTEM_WINDOWS_GUI")

    def test_windows_7_is_the_oldest_system(self):
        self.assertEqual((self.exe.os_version_major, self.exe.os_version_minor), (6, 1))
        self.assertEqual((self.exe.subsystem_version_major, self.exe.subsystem_version_minor), (6, 1))

    def test_no_link_time(self):
        self.assertEqual(self.exe.timestamp, 0, "a time in the header would make every build differ")


class Lean(unittest.TestCase):
    def setUp(self):
        self.exe = pe.PeFile(EXE)

    def test_no_debug_sections_or_symbols(self):
        self.assertEqual([s.name for s in self.exe.sections if s.name.startswith(".debug") or s.name.startswith("/")],
                         [])
        self.assertEqual(self.exe.symbol_count, 0)

    def test_the_debug_link_names_the_debug_file_and_its_crc(self):
        link = self.exe.section_bytes(".gnu_debuglink")
        self.assertIsNotNone(link, "no .gnu_debuglink section")
        name, _, rest = link.partition(b"\0")
        self.assertEqual(name.decode("ascii"), os.path.basename(DEBUG_FILE))
        padded = len(name) + 1 + (-(len(name) + 1) % 4)
        crc = int.from_bytes(link[padded:padded + 4], "little")
        with open(DEBUG_FILE, "rb") as f:
            self.assertEqual(crc, zlib.crc32(f.read()), "the debug file is another build's")

    def test_a_code_address_reads_back_as_its_source_line(self):
        debug = pe.PeFile(DEBUG_FILE)
        self.assertIsNotNone(debug.section(".debug_info"))
        self.assertIsNotNone(debug.section(".debug_line"))
        symbols = subprocess.run([TOOL_PREFIX + "nm", DEBUG_FILE], check=True, capture_output=True,
                                 text=True).stdout
        entry = re.search(r"^([0-9a-f]+) T _?wWinMain(@16)?$", symbols, re.M)
        self.assertIsNotNone(entry, "the debug file names no wWinMain")
        where = subprocess.run([TOOL_PREFIX + "addr2line", "-e", DEBUG_FILE, entry.group(1)], check=True,
                               capture_output=True, text=True).stdout.strip()
        self.assertRegex(where, r"^(\./)?framework/docview/WinMain\.cpp:\d+$")


def read_import_list(path):
    """{(dll, function): (minimum, builds)} from the checked-in list."""
    listed = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            if len(fields) != 4 or fields[2] not in MINIMUM_RANK or fields[3] not in ("both", "x64", "x86"):
                raise ValueError(f"{path}:{number}: not 'DLL FUNCTION MINIMUM both|x64|x86': {line}")
            key = (fields[0].lower(), fields[1])
            if key in listed:
                raise ValueError(f"{path}:{number}: {fields[0]} {fields[1]} is listed twice")
            listed[key] = (fields[2], fields[3])
    return listed


class Imports(unittest.TestCase):
    def setUp(self):
        self.listed = read_import_list(IMPORT_LIST)
        self.imported = {(dll.lower(), function)
                         for dll, functions in pe.PeFile(EXE).imports().items() for function in functions}

    def test_every_import_is_listed_for_this_build(self):
        missing = sorted(f"{dll} {function}" for dll, function in self.imported
                         if self.listed.get((dll, function), (None, ""))[1] not in ("both", ARCH))
        self.assertEqual(missing, [], "imports missing from the list: look up each one's minimum client in "
                         "Microsoft's documentation and add it")

    def test_no_listed_function_needs_a_windows_newer_than_7(self):
        newer = sorted(f"{dll} {function} ({minimum})" for (dll, function), (minimum, _) in self.listed.items()
                       if MINIMUM_RANK[minimum] > MINIMUM_RANK[OLDEST_SUPPORTED])
        self.assertEqual(newer, [])

    def test_the_list_holds_only_what_this_build_imports(self):
        stale = sorted(f"{dll} {function}" for (dll, function), (_, builds) in self.listed.items()
                       if builds in ("both", ARCH) and (dll, function) not in self.imported)
        self.assertEqual(stale, [], "listed for this build but not imported: take them out, or mark them "
                         "for the other build")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__.split("usage: ", 1)[1].strip())
    ARCH, EXE, DEBUG_FILE, IMPORT_LIST, TOOL_PREFIX = sys.argv[1:]
    unittest.main(argv=[sys.argv[0], "-v"])
