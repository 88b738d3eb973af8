#include "tests/gl/gl_fixture.h"

#include <gtest/gtest.h>

void GLTest::SetUp() {
    SimTest::SetUp();
    surface_.width = 320;
    surface_.height = 240;
    ASSERT_NE(OffscreenDisplay(), EGL_NO_DISPLAY) << "Mesa's surfaceless EGL platform is missing";
    int format = OffscreenChooseConfig({0, 1, 16});
    ASSERT_NE(format, 0);
    ASSERT_TRUE(OffscreenSetConfig(&surface_, format));
    context_ = OffscreenCreateContext(surface_);
    ASSERT_NE(context_, EGL_NO_CONTEXT);
    ASSERT_TRUE(OffscreenMakeCurrent(&surface_, context_));
}

void GLTest::TearDown() {
    OffscreenMakeCurrent(nullptr, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT) OffscreenDestroyContext(context_);
    OffscreenDestroySurface(&surface_);
    SimTest::TearDown();
}

void GLTest::UseSize(int width, int height) {
    ASSERT_TRUE(OffscreenResize(&surface_, width, height));
    ASSERT_EQ(eglGetCurrentSurface(EGL_DRAW), surface_.pbuffer);
}
