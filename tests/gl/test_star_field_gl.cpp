#include <GL/gl.h>

#include <cmath>
#include <set>
#include <utility>

#include "engine/overlay.h"
#include "render/star_field.h"
#include "tests/gl/gl_fixture.h"

static const int WIDTH = 320;
static const int HEIGHT = 240;

static void ExpectColor(const uint8_t* pixel, double r, double g, double b) {
    EXPECT_NEAR(pixel[0], r * 255, 1.0);
    EXPECT_NEAR(pixel[1], g * 255, 1.0);
    EXPECT_NEAR(pixel[2], b * 255, 1.0);
}

// The sky as the frame draws it, inside the overlay (which turns blending on). Away from the
// stars, twilight rises from faint violet to near black and stops one column short of the right
// edge; without it the sky stays black. Each star lights its pixel in its own colour.
TEST_F(GLTest, TwilightGradientAndStarsEachInItsOwnColour) {
    for (bool twilight : {true, false}) {
        SCOPED_TRACE(twilight ? "twilight" : "black sky");
        g_starField.Build(WIDTH, HEIGHT, 60, twilight, twilight ? HEIGHT : 0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        BeginOverlay(WIDTH, HEIGHT);
        g_starField.Draw();
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        EndOverlay();
        RgbImage image = ReadPixels();

        std::set<std::pair<int, int>> near, seen, shared;
        for (int i = 0; i < g_starField.count; ++i) {
            const Vec3& position = g_starField.starArray[i].position;
            std::pair<int, int> at = {int(position.x), int(position.y)};
            if (!seen.insert(at).second) shared.insert(at);
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) near.insert({at.first + dx, at.second + dy});
        }
        for (int y = 0; y < HEIGHT; ++y) {
            for (int x : {0, 1, 97, 211, WIDTH - 2, WIDTH - 1}) {
                if (near.count({x, y})) continue;
                SCOPED_TRACE(testing::Message() << x << ", " << y);
                double t = (y + 0.5) / HEIGHT, glow = twilight && x < WIDTH - 1;
                ExpectColor(image.At(x, HEIGHT - 1 - y), glow * (0.08 - 0.06 * t), 0.0, glow * (0.16 - 0.12 * t));
            }
        }
        int checked = 0;
        for (int i = 0; i < g_starField.count; ++i) {
            const Vec3& at = g_starField.starArray[i].position;
            double fx = at.x - std::floor(at.x), fy = at.y - std::floor(at.y);
            // A star on a pixel boundary may round either way.
            if (fx < 0.01 || fx > 0.99 || fy < 0.01 || fy > 0.99 || shared.count({int(at.x), int(at.y)})) continue;
            const Vec3& c = g_starField.starArray[i].color;
            ExpectColor(image.At(int(at.x), HEIGHT - 1 - int(at.y)), c.x, c.y, c.z);
            ++checked;
        }
        EXPECT_GT(checked, 50);
    }
}
