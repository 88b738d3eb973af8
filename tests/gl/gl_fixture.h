#pragma once
#include "host/headless/offscreen_egl.h"
#include "host/headless/png_image.h"
#include "tests/unit/sim_fixture.h"

// A fresh simulation and a current GL context on a 320 x 240 offscreen pbuffer, for one test.
class GLTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_NE(OffscreenDisplay(), EGL_NO_DISPLAY) << "Mesa's surfaceless EGL platform is missing";
        int format = OffscreenChooseConfig({0, 1, 16});
        ASSERT_NE(format, 0);
        ASSERT_TRUE(OffscreenSetConfig(&surface_, format));
        context_ = OffscreenCreateContext(surface_);
        ASSERT_NE(context_, EGL_NO_CONTEXT);
        ASSERT_TRUE(OffscreenMakeCurrent(&surface_, context_));
    }
    void TearDown() override {
        OffscreenMakeCurrent(nullptr, EGL_NO_CONTEXT);
        if (context_ != EGL_NO_CONTEXT) OffscreenDestroyContext(context_);
        OffscreenDestroySurface(&surface_);
        SimTest::TearDown();
    }

    // Replaces the pbuffer with one of this size; the context stays current on it.
    void UseSize(int width, int height) { ASSERT_TRUE(OffscreenResize(&surface_, width, height)); }
    RgbImage ReadPixels() const { return ReadFramebuffer(surface_.width, surface_.height); }

private:
    OffscreenSurface surface_{320, 240};
    EGLContext context_ = EGL_NO_CONTEXT;
};
