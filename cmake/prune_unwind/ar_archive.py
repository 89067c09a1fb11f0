"""GNU ar archives: their members read, and written back with the symbol
index left to ranlib."""
import subprocess

from records import record

ARCHIVE_MAGIC = b"!<arch>\n"
MemberHeader = record("MemberHeader", "<16s12s6s6s8s10s2s", "name date uid gid mode size end")
SYMBOL_INDEXES = ("/", "/SYM64/")
LONG_NAMES = "//"
# A member name of "/N" stands for the name at offset N of the long-name
# member, where names end in "/\n"; short names end in "/".
LONG_NAME_PREFIX = "/"
LONG_NAME_END = b"/\n"
SHORT_NAME_END = "/"
# Members start at even offsets.
PADDING = b"\n"
LONG_NAMES_HEADER = MemberHeader(LONG_NAMES.encode().ljust(16), b" " * 12, b" " * 6, b" " * 6,
                                 b" " * 8, b"", b"`\n")


class Member:
    def __init__(self, name, header, body):
        self.name, self.header, self.body = name, header, body


def read_archive(path):
    """The archive's members (symbol indexes left out) and its long-name
    member's body."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(ARCHIVE_MAGIC):
        raise ValueError("%s is not an archive this reads (thin or not ar)" % path)
    members, pos, long_names = [], len(ARCHIVE_MAGIC), b""
    while pos + MemberHeader.SIZE <= len(data):
        header = MemberHeader.read(data, pos)
        size = int(header.size)
        body = data[pos + MemberHeader.SIZE:pos + MemberHeader.SIZE + size]
        name = header.name.decode("latin-1").rstrip()
        if name == LONG_NAMES:
            long_names = body
        elif name not in SYMBOL_INDEXES:
            if name.startswith(LONG_NAME_PREFIX) and name[len(LONG_NAME_PREFIX):].isdigit():
                start = int(name[len(LONG_NAME_PREFIX):])
                name = long_names[start:long_names.index(LONG_NAME_END, start)].decode("latin-1")
            else:
                name = name.rstrip(SHORT_NAME_END)
            members.append(Member(name, header, body))
        pos += MemberHeader.SIZE + size + (size & 1)
    return members, long_names


def write_archive(path, members, long_names, ranlib):
    with open(path, "wb") as f:
        f.write(ARCHIVE_MAGIC)
        if long_names:
            _write_member(f, LONG_NAMES_HEADER, long_names)
        for member in members:
            _write_member(f, member.header, member.body)
    subprocess.run([ranlib, path], check=True, capture_output=True)


def _write_member(f, header, body):
    header = header._replace(size=b"%-10d" % len(body))
    buffer = bytearray(MemberHeader.SIZE)
    header.write(buffer, 0)
    f.write(bytes(buffer) + body)
    if len(body) & 1:
        f.write(PADDING)
