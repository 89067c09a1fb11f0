"""The sections a link dropped, from GNU ld's --print-gc-sections messages
(read in the C locale)."""
import re

REMOVED = re.compile(r"removing unused section '([^']*)' in file '([^']*)'")
# ld names a COMDAT section "name[symbol]".
COMDAT_SUFFIX = re.compile(r"\[[^\]]*\]$")
# ld names an archive member "archive(member)".
MEMBER_OPEN = "("


def archive_of(input_file):
    """The archive part of "archive(member)"; a plain object's own name."""
    return input_file.split(MEMBER_OPEN, 1)[0]


class RemovedSections:
    """Per input file for plain sections, by name for COMDAT ones, because
    every copy of a COMDAT function has its own unwind entry in its own
    object."""

    def __init__(self, messages=""):
        self.plain, self.comdat, self.files = {}, set(), set()
        for line in messages.splitlines():
            m = REMOVED.search(line)
            if not m:
                continue
            section, input_file = m.groups()
            self.files.add(input_file)
            name = COMDAT_SUFFIX.sub("", section)
            if name != section:
                self.comdat.add(name)
            else:
                self.plain.setdefault(input_file, []).append(name)

    def __bool__(self):
        return bool(self.plain or self.comdat)

    def __eq__(self, other):
        return self.plain == other.plain and self.comdat == other.comdat

    def of_archives(self, archives):
        """The same without the plain sections of other input files."""
        kept = RemovedSections()
        kept.comdat = set(self.comdat)
        kept.plain = {f: list(names) for f, names in self.plain.items()
                      if archive_of(f) in archives}
        return kept

    def renamed(self, archive_names):
        """The same with archives renamed through archive_names (others kept)."""
        renamed = RemovedSections()
        renamed.comdat = set(self.comdat)
        for input_file, names in self.plain.items():
            archive = archive_of(input_file)
            key = archive_names.get(archive, archive) + input_file[len(archive):]
            renamed.plain[key] = list(names)
        return renamed

    def within(self, other):
        """What of this the other link dropped as well."""
        kept = RemovedSections()
        kept.comdat = self.comdat & other.comdat
        for input_file, names in self.plain.items():
            left = list(other.plain.get(input_file, []))
            for name in names:
                if name in left:
                    left.remove(name)
                    kept.plain.setdefault(input_file, []).append(name)
        return kept
