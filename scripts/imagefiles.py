"""Reading and editing the structure of JPEG and TIFF files, byte by byte.

Used by the tests' odd-file maker and the damaged-file corpus: both change
one field of a real file and keep everything else as it was.
"""
import struct

# JPEG ------------------------------------------------------------------------

def jpeg_segments(data):
    """(marker, offset, total length) of every segment before the first scan's
    data, the scan header included; offset is where its 0xFF is."""
    segments = []
    at = 2  # after SOI
    while at + 4 <= len(data) and data[at] == 0xFF:
        marker = data[at + 1]
        if marker == 0xFF:  # fill byte
            at += 1
            continue
        length = 2 + (data[at + 2] << 8 | data[at + 3])
        segments.append((marker, at, length))
        if marker == 0xDA:
            break
        at += length
    return segments


def jpeg_segment(data, marker, nth=0):
    found = [s for s in jpeg_segments(data) if s[0] == marker]
    return found[nth] if nth < len(found) else None


def jpeg_app_segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack(">H", len(payload) + 2) + payload


# TIFF ------------------------------------------------------------------------

TYPE_SIZES = {1: 1, 2: 1, 3: 2, 4: 4, 5: 8, 6: 1, 7: 1, 8: 2, 9: 4, 10: 8, 11: 4, 12: 8, 13: 4}
BYTE, ASCII, SHORT, LONG, RATIONAL, UNDEFINED = 1, 2, 3, 4, 5, 7


class Tiff:
    """A classic TIFF's first directory, editable. Writing keeps every byte of
    the file and appends the edited directory (and its out-of-line values)
    at the end, so strips and tiles stay where their offsets say."""

    def __init__(self, data):
        self.data = bytearray(data)
        self.order = "<" if data[:2] == b"II" else ">"
        (self.ifd,) = self._unpack("I", 4)
        (count,) = self._unpack("H", self.ifd)
        self.entries = {}  # tag -> [type, count, payload bytes]
        for i in range(count):
            at = self.ifd + 2 + 12 * i
            tag, kind, n = self._unpack("HHI", at)
            size = TYPE_SIZES.get(kind, 1) * n
            if size <= 4:
                payload = bytes(self.data[at + 8:at + 8 + size])
            else:
                (offset,) = self._unpack("I", at + 8)
                payload = bytes(self.data[offset:offset + size])
            self.entries[tag] = [kind, n, payload]
        (self.next_ifd,) = self._unpack("I", self.ifd + 2 + 12 * count)

    def _unpack(self, fmt, at):
        return struct.unpack_from(self.order + fmt, self.data, at)

    def values(self, tag):
        kind, n, payload = self.entries[tag]
        code = {SHORT: "H", LONG: "I", BYTE: "B", UNDEFINED: "B"}[kind]
        return list(struct.unpack(self.order + code * n, payload[:n * TYPE_SIZES[kind]]))

    def set(self, tag, kind, values, count=None):
        """values: a list of numbers (BYTE/SHORT/LONG), or bytes for ASCII and
        UNDEFINED; count overrides the number written in the entry."""
        if isinstance(values, (bytes, bytearray)):
            payload = bytes(values)
            n = len(payload) // TYPE_SIZES[kind]
        else:
            code = {SHORT: "H", LONG: "I", BYTE: "B", UNDEFINED: "B"}[kind]
            payload = struct.pack(self.order + code * len(values), *values)
            n = len(values)
        self.entries[tag] = [kind, n if count is None else count, payload]

    def remove(self, tag):
        self.entries.pop(tag, None)

    def bytes(self):
        out = bytearray(self.data)
        pack = lambda fmt, *v: struct.pack(self.order + fmt, *v)
        while len(out) % 2:
            out.append(0)
        values = {}
        for tag, (kind, n, payload) in sorted(self.entries.items()):
            if len(payload) > 4:
                values[tag] = len(out)
                out += payload
                if len(out) % 2:
                    out.append(0)
        ifd = len(out)
        out += pack("H", len(self.entries))
        for tag, (kind, n, payload) in sorted(self.entries.items()):
            out += pack("HHI", tag, kind, n)
            out += pack("I", values[tag]) if tag in values else payload.ljust(4, b"\0")
        out += pack("I", self.next_ifd)
        out[4:8] = pack("I", ifd)
        return bytes(out)
