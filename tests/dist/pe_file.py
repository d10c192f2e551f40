"""Reads what a Windows executable says about itself: machine, subsystem,
imported DLLs and resources (the version resource decoded)."""
import struct

MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664
RT_VERSION = 16
RT_MANIFEST = 24


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no DOS header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, opt_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            s = opt + opt_size + 40 * i
            vsize, vaddr, rsize, raddr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva):
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError("address %#x lies in no section" % rva)

    def c_string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imported_dlls(self):
        rva, _ = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            entry = struct.unpack_from("<5I", self.data, at)
            if not any(entry):
                return names
            names.append(self.c_string(entry[3]))
            at += 20

    def resources(self):
        """{(type, id): bytes} for every resource with a numeric type and id."""
        rva, _ = self.directories[2]
        if not rva:
            return {}
        base = self.offset(rva)
        found = {}

        def entries(table):
            named, numbered = struct.unpack_from("<HH", self.data, base + table + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, base + table + 16 + 8 * i)
                yield name, target

        for rtype, types in entries(0):
            for rid, ids in entries(types & 0x7FFFFFFF):
                for _, leaf in entries(ids & 0x7FFFFFFF):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    if not (rtype | rid) & 0x80000000:
                        at = self.offset(data_rva)
                        found[(rtype, rid)] = self.data[at:at + size]
        return found


def _align4(n):
    return (n + 3) & ~3


def _version_block(data, at):
    """One block of a version resource: (key, value, children, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    pos = _align4(key_end + 2)
    if kind == 1:  # text, counted in characters
        value = data[pos:pos + 2 * value_length].decode("utf-16-le").rstrip("\0")
        pos += 2 * value_length
    else:
        value = data[pos:pos + value_length]
        pos += value_length
    children = []
    pos = _align4(pos)
    while pos < end:
        child = _version_block(data, pos)
        children.append(child[:3])
        pos = _align4(child[3])
    return key, value, children, end


def read_version(data):
    """(file version, product version, {string name: text}) of a version resource."""
    key, fixed, children, _ = _version_block(data, 0)
    if key != "VS_VERSION_INFO":
        raise ValueError("not a version resource: %r" % key)
    signature, _, fms, fls, pms, pls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        raise ValueError("fixed file information has a bad signature")

    def dotted(ms, ls):
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)

    strings = {}
    for name, _, tables in children:
        if name == "StringFileInfo":
            for _, _, table_strings in tables:
                strings.update({k: v for k, v, _ in table_strings})
    return dotted(fms, fls), dotted(pms, pls), strings
