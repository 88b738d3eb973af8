#pragma once
#include "host/headless/offscreen_egl.h"
#include "host/headless/png_image.h"
#include "tests/unit/sim_fixture.h"

// A fresh simulation and a current GL context on an offscreen pbuffer, for one test.
class GLTest : public SimTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the pbuffer with one of this size; the context stays current on it.
    void UseSize(int width, int height);
    RgbImage ReadPixels() const { return ReadFramebuffer(surface_.width, surface_.height); }

private:
    OffscreenSurface surface_;
    EGLContext context_ = EGL_NO_CONTEXT;
};
