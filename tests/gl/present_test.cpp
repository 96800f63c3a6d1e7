// The present step on real OpenGL: the off-screen picture scaled onto frames of other sizes.
#include "gl_support.h"

#include "app/picture.h"

namespace {

// A frame of its own to present into, and its pixels.
struct Frame {
    Size size;
    GLuint framebuffer = 0;

    explicit Frame(Size frameSize) : size(frameSize) {
        GLuint colour = 0;
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width, size.height);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    }
    std::vector<std::uint8_t> pixels() const {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size.width) * size.height * 3);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, size.width, size.height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
};

// Every pixel of the picture tells where it is: red the column's low byte, blue the row's, green
// their high bits.
std::vector<std::uint8_t> positionPicture() {
    std::vector<std::uint8_t> rgb(640 * 480 * 3);
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            std::uint8_t* p = &rgb[(row * 640 + column) * 3];
            p[0] = column & 255;
            p[1] = (column >> 8) * 16 + (row >> 8);
            p[2] = row & 255;
        }
    }
    return rgb;
}

// Whether the picture's pixel `source` (a column or a row of `sourceLength`) is nearest to the
// centre of the shown pixel `shown` out of `shownLength`: the centre lies in its area, or on its
// edge, where either neighbour is as near.
bool isNearest(int source, int shown, int shownLength, int sourceLength) {
    const long centre = (2L * shown + 1) * sourceLength; // in units of 1 / (2 * shownLength)
    const long within = centre / (2L * shownLength);
    return source == within || (centre % (2L * shownLength) == 0 && source == within - 1);
}

// The tests around these draw on the window: it is the target again afterwards.
class Present : public testing::Test {
  protected:
    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, 640, 480);
    }
};

TEST_F(Present, ScalesThePictureByNearestNeighbourIntoTheCentredRectangleWithBlackBars) {
    createPicture();
    usePicture();
    resetFrame();
    glWindowPos2i(0, 0);
    const std::vector<std::uint8_t> picture = positionPicture();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(640, 480, GL_RGB, GL_UNSIGNED_BYTE, picture.data());
    for (const Size size : {Size{640, 480}, Size{1920, 1080}, Size{1280, 960}, Size{1000, 600},
                            Size{800, 800}, Size{333, 250}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        const Frame frame(size);
        presentPicture(frame.framebuffer, size, false);
        const auto shown = frame.pixels();
        const Rectangle box = letterbox(size, pictureSize);
        int wrong = 0;
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const std::uint8_t* p = &shown[(y * size.width + x) * 3];
                const int column = p[0] + (p[1] >> 4) * 256, row = p[2] + (p[1] & 15) * 256;
                const bool inside =
                    x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
                if (!inside) {
                    wrong += p[0] != 0 || p[1] != 0 || p[2] != 0;
                } else {
                    wrong += !isNearest(column, x - box.x, box.width, 640) ||
                             !isNearest(row, y - box.y, box.height, 480);
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

} // namespace
