"""Fixed-size binary records with named fields, read from and written into
a bytearray at an offset."""
import collections
import struct


def record(name, layout, fields):
    """A namedtuple type for a little-endian struct layout, with read(data,
    offset), write(data, offset) and SIZE, its size in bytes."""
    packed = struct.Struct(layout)
    cls = collections.namedtuple(name, fields)
    cls.SIZE = packed.size
    cls.read = classmethod(lambda c, data, offset: c._make(packed.unpack_from(data, offset)))
    cls.write = lambda self, data, offset: packed.pack_into(data, offset, *self)
    return cls
