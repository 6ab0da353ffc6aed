"""A reader of Windows executables (PE32 and PE32+) for the checks of the built program: the
file and optional headers, the sections, the imports by name and the resources, read as the
Windows loader reads them. Standard library only."""

import struct

RT_VERSION = 16
RT_MANIFEST = 24


class PeError(Exception):
    pass


class Section:
    def __init__(self, name, virtual_address, virtual_size, raw_offset, raw_size):
        self.name = name
        self.virtual_address = virtual_address
        self.virtual_size = virtual_size
        self.raw_offset = raw_offset
        self.raw_size = raw_size


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        data = self.data
        if data[:2] != b"MZ":
            raise PeError(f"{path}: no MZ header")
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise PeError(f"{path}: no PE signature")
        coff = pe_offset + 4
        (self.machine, section_count, self.timestamp, self.symbol_table, self.symbol_count,
         optional_size, self.characteristics) = struct.unpack_from("<HHIIIHH", data, coff)
        optional = coff + 20
        (self.magic,) = struct.unpack_from("<H", data, optional)
        if self.magic not in (0x10B, 0x20B):
            raise PeError(f"{path}: unknown optional header magic {self.magic:#x}")
        (self.os_version_major, self.os_version_minor, self.image_version_major, self.image_version_minor,
         self.subsystem_version_major, self.subsystem_version_minor) = struct.unpack_from("<6H", data, optional + 40)
        (self.checksum, self.subsystem, self.dll_characteristics) = struct.unpack_from("<IHH", data, optional + 64)
        directories = optional + (96 if self.magic == 0x10B else 112)
        (directory_count,) = struct.unpack_from("<I", data, directories - 4)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(directory_count)]

        self.sections = []
        table = optional + optional_size
        for i in range(section_count):
            raw_name, virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from(
                "<8sIIII", data, table + 40 * i)
            self.sections.append(Section(self._section_name(raw_name), virtual_address, virtual_size,
                                         raw_offset, raw_size))

    @property
    def is_64_bit(self):
        return self.magic == 0x20B

    def _section_name(self, raw_name):
        name = raw_name.rstrip(b"\0").decode("ascii")
        if name.startswith("/") and self.symbol_table:
            # A long name: its offset in the string table, which follows the symbol table.
            strings = self.symbol_table + 18 * self.symbol_count
            start = strings + int(name[1:])
            name = self.data[start:self.data.index(b"\0", start)].decode("ascii")
        return name

    def section(self, name):
        return next((s for s in self.sections if s.name == name), None)

    def section_bytes(self, name):
        s = self.section(name)
        return None if s is None else self.data[s.raw_offset:s.raw_offset + min(s.raw_size, s.virtual_size)]

    def offset(self, rva):
        for s in self.sections:
            if s.virtual_address <= rva < s.virtual_address + max(s.virtual_size, s.raw_size):
                return s.raw_offset + rva - s.virtual_address
        raise PeError(f"RVA {rva:#x} lies in no section")

    def c_string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        """{dll name: [function names]}, in the order the import table lists them; an import by
        ordinal is named '#N'."""
        rva, size = self.directories[1]
        result = {}
        if size == 0:
            return result
        thunk_format, ordinal_flag = ("<Q", 1 << 63) if self.is_64_bit else ("<I", 1 << 31)
        thunk_size = struct.calcsize(thunk_format)
        entry = self.offset(rva)
        while True:
            names_rva, _, _, name_rva, slots_rva = struct.unpack_from("<IIIII", self.data, entry)
            if name_rva == 0:
                return result
            functions = result.setdefault(self.c_string(name_rva), [])
            thunk = self.offset(names_rva or slots_rva)
            while True:
                (value,) = struct.unpack_from(thunk_format, self.data, thunk)
                if value == 0:
                    break
                functions.append(f"#{value & 0xFFFF}" if value & ordinal_flag else self.c_string(value + 2))
                thunk += thunk_size
            entry += 20

    def resources(self):
        """{(type, name, language): bytes} for every resource with numeric ids."""
        rva, size = self.directories[2]
        result = {}
        if size == 0:
            return result
        base = self.offset(rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                yield ident, target

        for type_id, type_dir in entries(0):
            for name_id, name_dir in entries(type_dir & 0x7FFFFFFF):
                for language, leaf in entries(name_dir & 0x7FFFFFFF):
                    data_rva, data_size, _, _ = struct.unpack_from("<IIII", self.data, base + leaf)
                    start = self.offset(data_rva)
                    result[(type_id, name_id, language)] = self.data[start:start + data_size]
        return result
