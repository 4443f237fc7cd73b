"""File contents for the benchmarks' payloads: text-like (words and numbers in lines),
binary-like (records of small integers, offsets and repeated tables, as in programs and data
files) and random. Everything comes from the caller's seeded generator, in a fixed order, so a
seed always gives the same bytes."""
import struct


def make_words(rng):
    return [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 10)))
            for _ in range(3000)]


def text(rng, words, n):
    out, size = [], 0
    while size < n:
        line = ' '.join(rng.choices(words, k=rng.randint(3, 14)))
        if rng.random() < 0.3:
            line += ' %d.%02d' % (rng.randint(0, 99999), rng.randint(0, 99))
        line += '\r\n'
        out.append(line)
        size += len(line)
    return ''.join(out).encode()[:n]


def binary(rng, n):
    table = rng.randbytes(4096)
    out, size = [], 0
    while size < n:
        kind = rng.random()
        if kind < 0.5:
            chunk = b''.join(struct.pack('<IHHI', rng.randint(0, 65535), rng.randint(0, 300), rng.randint(0, 7),
                                         0x401000 + 16 * rng.randint(0, 4096)) for _ in range(64))
        elif kind < 0.8:
            start = rng.randint(0, 3000)
            chunk = table[start:start + rng.randint(64, 1024)]
        else:
            chunk = bytes(rng.randint(64, 512))
        out.append(chunk)
        size += len(chunk)
    return b''.join(out)[:n]


def content(rng, words, kind, n):
    """kind 0: text, 1: binary, 2: random."""
    return text(rng, words, n) if kind == 0 else binary(rng, n) if kind == 1 else rng.randbytes(n)
