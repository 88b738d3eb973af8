#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

#include "engine/overlay.h"
#include "render/star_field.h"
#include "tests/gl/gl_fixture.h"

static const int WIDTH = 320;
static const int HEIGHT = 240;

static RgbImage DrawSky(bool twilight, int starCount) {
    g_starField.Build(WIDTH, HEIGHT, starCount, twilight, twilight ? HEIGHT : 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    BeginOverlay(WIDTH, HEIGHT);
    g_starField.Draw();
    EndOverlay();
    return ReadFramebuffer(WIDTH, HEIGHT);
}

// Pixels (x, y from the bottom) that hold a star or touch one.
static std::set<std::pair<int, int>> NearStars() {
    std::set<std::pair<int, int>> near;
    for (int i = 0; i < g_starField.count; ++i) {
        int x = int(g_starField.starArray[i].position.x);
        int y = int(g_starField.starArray[i].position.y);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) near.insert({x + dx, y + dy});
    }
    return near;
}

static void ExpectColor(const uint8_t* pixel, double r, double g, double b, const char* where) {
    EXPECT_NEAR(pixel[0], r * 255, 1.0) << where;
    EXPECT_NEAR(pixel[1], g * 255, 1.0) << where;
    EXPECT_NEAR(pixel[2], b * 255, 1.0) << where;
}

TEST_F(GLTest, TwilightRisesFromFaintVioletToNearBlackAndStopsShortOfTheRightEdge) {
    RgbImage image = DrawSky(true, 40);
    std::set<std::pair<int, int>> near = NearStars();
    int checked = 0;
    for (int y = 0; y < HEIGHT; y += 7) {
        for (int x : {0, 97, 211, WIDTH - 2}) {
            if (near.count({x, y})) continue;
            double t = (y + 0.5) / HEIGHT;
            ExpectColor(image.At(x, HEIGHT - 1 - y), 0.08 + (0.02 - 0.08) * t, 0.0, 0.16 + (0.04 - 0.16) * t,
                        "gradient");
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
    ExpectColor(image.At(5, HEIGHT - 1), 0.08, 0.0, 0.16, "bottom edge");
    // The band's right edge is at width - 1, so the last column keeps the clear colour.
    for (int y = 0; y < HEIGHT; y += 13)
        if (!near.count({WIDTH - 1, y})) ExpectColor(image.At(WIDTH - 1, HEIGHT - 1 - y), 0, 0, 0, "right edge");
}

TEST_F(GLTest, EachStarIsOnePixelInItsOwnColour) {
    RgbImage image = DrawSky(true, 60);
    std::set<std::pair<int, int>> seen, shared;
    for (int i = 0; i < g_starField.count; ++i) {
        std::pair<int, int> at = {int(g_starField.starArray[i].position.x), int(g_starField.starArray[i].position.y)};
        if (!seen.insert(at).second) shared.insert(at);
    }
    int checked = 0;
    for (int i = 0; i < g_starField.count; ++i) {
        const Star& star = g_starField.starArray[i];
        double fx = star.position.x - std::floor(star.position.x);
        double fy = star.position.y - std::floor(star.position.y);
        // A star on a pixel boundary may round either way.
        if (fx < 0.01 || fx > 0.99 || fy < 0.01 || fy > 0.99) continue;
        int x = int(star.position.x), y = int(star.position.y);
        if (shared.count({x, y})) continue;
        ExpectColor(image.At(x, HEIGHT - 1 - y), star.color.x, star.color.y, star.color.z, "star");
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

TEST_F(GLTest, WithoutTwilightOnlyTheStarsAreLit) {
    RgbImage image = DrawSky(false, 30);
    // A star within a hair of a pixel boundary may light either pixel.
    std::set<std::pair<int, int>> stars;
    for (int i = 0; i < g_starField.count; ++i) {
        const Vec3& at = g_starField.starArray[i].position;
        for (double dx : {-0.02, 0.0, 0.02})
            for (double dy : {-0.02, 0.0, 0.02}) stars.insert({int(std::floor(at.x + dx)), int(std::floor(at.y + dy))});
    }
    int lit = 0;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            const uint8_t* p = image.At(x, HEIGHT - 1 - y);
            bool isLit = p[0] || p[1] || p[2];
            if (isLit) ++lit;
            if (isLit && !stars.count({x, y})) ADD_FAILURE() << "lit pixel without a star at " << x << "," << y;
        }
    }
    EXPECT_GT(lit, 20);
}

TEST_F(GLTest, DrawingTheSkyLeavesBlendingAsItFoundIt) {
    g_starField.Build(WIDTH, HEIGHT, 10, true, HEIGHT);
    for (bool blending : {true, false}) {
        if (blending)
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
        g_starField.Draw();
        EXPECT_EQ(bool(glIsEnabled(GL_BLEND)), blending);
    }
}
