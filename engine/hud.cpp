#include "engine/hud.h"

#include <GL/gl.h>

#include "engine/hud_layout.h"

const double HUD_BORDER_GREY = 0.6;

void DrawWindowBorder(int width, int height) {
    BorderLoop loop = WindowBorder(width, height);
    glColor3d(HUD_BORDER_GREY, HUD_BORDER_GREY, HUD_BORDER_GREY);
    glBegin(GL_LINE_LOOP);
    // Through the corner pixels' centres: a line along a pixel edge may fall on either side of
    // it, and Mesa puts the left and bottom sides outside the window.
    for (const HudPoint& corner : loop.corners) glVertex2d(corner.x + 0.5, corner.y + 0.5);
    glEnd();
}

void DrawFrameRate(const BitmapFont& font, double dt, int width, int height) {
    FrameRatePlacement placement = PlaceFrameRate(width, height);
    FrameRateText label = FormatFrameRate(dt);
    glPushMatrix();
    glColor3d(0.2, 0.4, 0.6);
    glTranslated(placement.origin.x, placement.origin.y, 0);
    font.DrawString(label.text, placement.scale, 0);
    glPopMatrix();
}

void DrawTitle(const BitmapFont& font, double showTime) {
    TitleLook look = TitleAppearance(showTime);
    glColor3d(look.red, look.green, look.blue);
    // Turned about x so the text stands upright in the x-z plane, facing the camera.
    glPushMatrix();
    glTranslated(0, 0, 40);
    glRotated(90, 1, 0, 0);
    font.DrawString(HUD_TITLE_TEXT, look.titleScale, 1);
    glPopMatrix();
    // The version line sits low at the right, leaning slightly back.
    glPushMatrix();
    glTranslated(38, 0, 2);
    glRotated(85, 1, 0, 0);
    font.DrawString(HUD_VERSION_TEXT, 2, 2);
    glPopMatrix();
}
