"""Just enough of an i386 COFF object to drop unwind entries (FDEs) from its
.eh_frame sections. Anything it does not expect raises ValueError, and the
launcher then links without pruning."""
import bisect
import collections
import struct

from records import record

IMAGE_FILE_MACHINE_UNKNOWN = 0x0
IMAGE_FILE_MACHINE_I386 = 0x14C
# An archive member whose header reads (UNKNOWN, 0xFFFF, version 0) is a
# short import object: a DLL entry point's stub, with no code or tables.
IMPORT_OBJECT_HDR_SIG2 = 0xFFFF
IMPORT_OBJECT_VERSION = 0
IMAGE_SCN_LNK_COMDAT = 0x00001000
IMAGE_SCN_LNK_NRELOC_OVFL = 0x01000000
IMAGE_SYM_CLASS_STATIC = 3
# A section name of "/N" stands for the string at offset N of the table.
LONG_NAME_PREFIX = "/"
# COMDAT functions keep their entries in sections ".eh_frame$<function>".
UNWIND_SECTION = ".eh_frame"
# Call frame information: a record's length counts the bytes after its
# length field; a length of 0 ends the table, 0xFFFFFFFF starts a 64-bit
# record. The identifier after it is 0 in a CIE; in an FDE it is the
# distance from itself back to the CIE, and the function's address follows.
CFI_LENGTH_SIZE = 4
CFI_TERMINATOR = 0
CFI_64BIT_ESCAPE = 0xFFFFFFFF
CIE_ID = 0

FileHeader = record("FileHeader", "<HHIIIHH", "machine number_of_sections time_date_stamp "
                    "pointer_to_symbol_table number_of_symbols size_of_optional_header "
                    "characteristics")
ImportHeader = record("ImportHeader", "<HHH", "sig1 sig2 version")
SectionHeader = record("SectionHeader", "<8sIIIIIIHHI", "name virtual_size virtual_address "
                       "size_of_raw_data pointer_to_raw_data pointer_to_relocations "
                       "pointer_to_linenumbers number_of_relocations number_of_linenumbers "
                       "characteristics")
Symbol = record("Symbol", "<8sIhHBB",
                "name value section_number type storage_class number_of_aux_symbols")
SectionAux = record("SectionAux", "<IHHIHB3s", "length number_of_relocations "
                    "number_of_linenumbers checksum number selection unused")
Relocation = record("Relocation", "<IIH", "virtual_address symbol_table_index type")
CfiHeader = record("CfiHeader", "<II", "length identifier")
CfiRecord = collections.namedtuple("CfiRecord", "start end identifier drop")
Section = collections.namedtuple("Section", "number offset name header")


def is_import_object(data):
    header = ImportHeader.read(data, 0)
    return (header.sig1, header.sig2, header.version) == (
        IMAGE_FILE_MACHINE_UNKNOWN, IMPORT_OBJECT_HDR_SIG2, IMPORT_OBJECT_VERSION)


class CoffObject:
    def __init__(self, data):
        self.data = bytearray(data)
        self.header = FileHeader.read(self.data, 0)
        if self.header.machine != IMAGE_FILE_MACHINE_I386:
            raise ValueError("machine 0x%X is not IMAGE_FILE_MACHINE_I386" % self.header.machine)
        symbols = self.header.pointer_to_symbol_table
        self.strings = symbols + Symbol.SIZE * self.header.number_of_symbols
        first = FileHeader.SIZE + self.header.size_of_optional_header
        self.sections = []
        for number in range(1, self.header.number_of_sections + 1):
            offset = first + SectionHeader.SIZE * (number - 1)
            header = SectionHeader.read(self.data, offset)
            self.sections.append(Section(number, offset, self._section_name(header.name), header))
        self.symbols = {}  # symbol table index -> (offset, Symbol); auxiliary records skipped
        self.defined_in = collections.defaultdict(set)  # section number -> symbol indexes
        index = 0
        while index < self.header.number_of_symbols:
            offset = symbols + Symbol.SIZE * index
            symbol = Symbol.read(self.data, offset)
            self.symbols[index] = (offset, symbol)
            self.defined_in[symbol.section_number].add(index)
            index += 1 + symbol.number_of_aux_symbols
        self._relocation_targets = None  # every symbol a relocation names, read on first need

    def _section_name(self, raw):
        name = raw.rstrip(b"\0").decode("latin-1")
        if name.startswith(LONG_NAME_PREFIX):
            start = self.strings + int(name[len(LONG_NAME_PREFIX):])
            name = bytes(self.data[start:self.data.index(b"\0", start)]).decode("latin-1")
        return name

    def _relocations(self, section):
        first = section.header.pointer_to_relocations
        return [Relocation.read(self.data, first + Relocation.SIZE * i)
                for i in range(section.header.number_of_relocations)]

    def _section_of(self, index):
        if index not in self.symbols:
            raise ValueError("a relocation names symbol %d, which is not a symbol" % index)
        return self.symbols[index][1].section_number

    def prune_eh_frame(self, plain, comdat):
        """Removes the FDEs of functions in dead sections: plain names the
        object's dropped plain sections (a name repeated in the object counts
        only if all its sections went), comdat the dropped COMDAT names.
        Returns the bytes removed."""
        counts = collections.Counter(s.name for s in self.sections)
        dead = {s.number for s in self.sections
                if (s.name in comdat if s.header.characteristics & IMAGE_SCN_LNK_COMDAT
                    else plain.count(s.name) >= counts[s.name])}
        return sum(self._prune_section(s, dead) for s in self.sections
                   if s.name.startswith(UNWIND_SECTION) and s.header.pointer_to_raw_data)

    def _prune_section(self, section, dead):
        relocations = self._relocations(section)
        if not any(self._section_of(r.symbol_table_index) in dead for r in relocations):
            return 0
        if section.header.characteristics & IMAGE_SCN_LNK_NRELOC_OVFL:
            raise ValueError("%s has more relocations than its header counts" % section.name)
        self._check_nothing_points_into(section)
        start = section.header.pointer_to_raw_data
        raw = bytes(self.data[start:start + section.header.size_of_raw_data])
        target = {r.virtual_address: r.symbol_table_index for r in relocations}
        records = []
        for begin, end, identifier in _cfi_records(raw, section.name):
            address = begin + CfiHeader.SIZE  # an FDE's function address
            drop = identifier != CIE_ID and address in target and \
                self._section_of(target[address]) in dead
            records.append(CfiRecord(begin, end, identifier, drop))
        if not any(r.drop for r in records):
            return 0
        # A CIE that no remaining FDE refers to goes too.
        used = {r.start + CFI_LENGTH_SIZE - r.identifier for r in records
                if r.identifier != CIE_ID and not r.drop}
        records = [r._replace(drop=r.drop or (r.identifier == CIE_ID and r.start not in used))
                   for r in records]
        out, moved = self._without_dropped(raw, records, section.name)
        kept = []
        starts = [r.start for r in records]
        for relocation in relocations:
            owner = records[bisect.bisect_right(starts, relocation.virtual_address) - 1]
            if not owner.start <= relocation.virtual_address < owner.end:
                raise ValueError("a relocation of %s lies outside its records" % section.name)
            if not owner.drop:
                kept.append(relocation._replace(
                    virtual_address=moved[owner.start] + relocation.virtual_address - owner.start))
        self.data[start:start + len(raw)] = out + bytes(len(raw) - len(out))
        for i, relocation in enumerate(kept):
            relocation.write(self.data, section.header.pointer_to_relocations + Relocation.SIZE * i)
        section.header._replace(size_of_raw_data=len(out),
                                number_of_relocations=len(kept)).write(self.data, section.offset)
        self._update_section_aux(section.number, len(out), len(kept))
        return len(raw) - len(out)

    def _check_nothing_points_into(self, section):
        """Records move when others go: refuses a table that a symbol other
        than its section's own marks inside, or that a relocation points into."""
        inside = self.defined_in[section.number]
        if any(self.symbols[i][1].value != 0 for i in inside):
            raise ValueError("a symbol is defined inside %s" % section.name)
        if self._relocation_targets is None:
            self._relocation_targets = {r.symbol_table_index for s in self.sections
                                        for r in self._relocations(s)}
        if inside & self._relocation_targets:
            raise ValueError("a relocation points into %s" % section.name)

    @staticmethod
    def _without_dropped(raw, records, name):
        """The table without dropped records, each FDE's CIE pointer redone;
        and where each kept record moved."""
        moved, out = {}, bytearray()
        for r in records:
            if not r.drop:
                moved[r.start] = len(out)
                out += raw[r.start:r.end]
        for r in records:
            if r.drop or r.identifier == CIE_ID:
                continue
            cie = r.start + CFI_LENGTH_SIZE - r.identifier
            if cie not in moved:
                raise ValueError("an FDE of %s points at no CIE" % name)
            identifier = moved[r.start] + CFI_LENGTH_SIZE
            struct.pack_into("<I", out, identifier, identifier - moved[cie])
        return bytes(out), moved

    def _update_section_aux(self, number, size, relocations):
        # The section symbol's auxiliary record repeats the size and count.
        for offset, symbol in (self.symbols[i] for i in self.defined_in[number]):
            if symbol.storage_class == IMAGE_SYM_CLASS_STATIC and symbol.number_of_aux_symbols:
                aux = SectionAux.read(self.data, offset + Symbol.SIZE)
                aux._replace(length=size, number_of_relocations=relocations).write(
                    self.data, offset + Symbol.SIZE)


def _cfi_records(raw, name):
    """(start, end, identifier) of each record of an unwind table."""
    records, pos = [], 0
    while pos < len(raw):
        if pos + CfiHeader.SIZE > len(raw):
            raise ValueError("%s ends inside a record" % name)
        header = CfiHeader.read(raw, pos)
        if header.length in (CFI_TERMINATOR, CFI_64BIT_ESCAPE):
            raise ValueError("%s holds a record of length 0x%X" % (name, header.length))
        end = pos + CFI_LENGTH_SIZE + header.length
        if end > len(raw):
            raise ValueError("a record of %s runs past its end" % name)
        records.append((pos, end, header.identifier))
        pos = end
    return records
