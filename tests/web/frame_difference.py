"""How far one 640x480 picture is from another, channel by channel (red, green, blue)."""
import numpy


class FrameDifference:
    def __init__(self, picture, reference):
        if picture.shape != reference.shape:
            raise AssertionError("pictures of %s and %s" % (picture.shape, reference.shape))
        difference = numpy.abs(picture.astype(numpy.int16) - reference.astype(numpy.int16))
        self.mean = difference.mean()  # levels per channel, 0 to 255
        self.largest = int(difference.max())
        self.differing_pixels = int(numpy.count_nonzero(difference.max(axis=2)))
        self.pixels = difference.shape[0] * difference.shape[1]

    @property
    def differing_share(self):
        return self.differing_pixels / self.pixels

    def __str__(self):
        return "mean %.4f, max %d, %d pixels differ (%.3f %%)" % (
            self.mean, self.largest, self.differing_pixels, 100 * self.differing_share)


def rgba_rows(data, width=640, height=480):
    """RGBA bytes, rows top-down, as rows of RGB values."""
    expected = width * height * 4
    if len(data) != expected:
        raise AssertionError("%d bytes of RGBA, not %d" % (len(data), expected))
    return numpy.frombuffer(data, dtype=numpy.uint8).reshape(height, width, 4)[:, :, :3]


class BlockDifference:
    """How far the averages of `size` x `size` blocks of two pictures are apart: what a dissolve
    whose particles are dealt out anew still has to keep (where the light goes, not which pixel
    carries it)."""

    def __init__(self, picture, reference, size=16):
        def blocks(rows):
            height, width, channels = rows.shape
            return rows.astype(numpy.float64).reshape(
                height // size, size, width // size, size, channels).mean(axis=(1, 3))

        difference = numpy.abs(blocks(picture) - blocks(reference))
        self.mean = difference.mean()
        self.largest = difference.max()

    def __str__(self):
        return "blocks' mean %.4f, max %.2f" % (self.mean, self.largest)


def lit(rows):
    """Where a picture is not black: the pixels a dissolve makes particles of."""
    return rows.max(axis=2) > 0
