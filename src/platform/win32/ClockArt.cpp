#include "ClockArt.h"

#include <algorithm>
#include <cmath>

// The GDI+ headers use min and max unqualified.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>  // left out by WIN32_LEAN_AND_MEAN, needed by GDI+
#include <gdiplus.h>

namespace chw::win32 {

namespace gp = Gdiplus;

GdiplusSession::GdiplusSession() {
    gp::GdiplusStartupInput input;
    if (gp::GdiplusStartup(&token_, &input, nullptr) != gp::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
    if (token_) gp::GdiplusShutdown(token_);
}

namespace {

constexpr float kPi = 3.14159265f;

// A point at the given clock angle (0 at twelve, clockwise) and distance from the centre.
gp::PointF At(float cx, float cy, float turns, float distance) {
    float a = turns * 2 * kPi;
    return gp::PointF(cx + distance * std::sin(a), cy - distance * std::cos(a));
}

// A straight stroke with round ends, from `from` to `to`.
void RoundLine(gp::Graphics& g, const gp::Color& colour, float width, const gp::PointF& from, const gp::PointF& to) {
    gp::Pen pen(colour, width);
    pen.SetStartCap(gp::LineCapRound);
    pen.SetEndCap(gp::LineCapRound);
    g.DrawLine(&pen, from, to);
}

void Hand(gp::Graphics& g, float cx, float cy, float turns, float length, float tail, float width,
          const gp::Color& colour) {
    RoundLine(g, colour, width, At(cx, cy, turns + 0.5f, tail), At(cx, cy, turns, length));
}

constexpr float kFace = 0.8f;  // the face's radius, of the case's

gp::Color Ink() { return gp::Color(255, 0x2A, 0x2A, 0x30); }

void Prepare(gp::Graphics& g) {
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    g.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
}

void Disc(gp::Graphics& g, const gp::Brush& brush, float cx, float cy, float r) {
    g.FillEllipse(&brush, cx - r, cy - r, 2 * r, 2 * r);
}

}  // namespace

void DrawAlarmClockBody(HDC dc, float cx, float cy, float r) {
    gp::Graphics g(dc);
    Prepare(g);

    const gp::Color outline(255, 0x5A, 0x12, 0x0E);
    const float line = std::max(1.0f, r * 0.035f);

    // A soft shadow under the clock.
    gp::SolidBrush shadow(gp::Color(40, 0x1F, 0x3F, 0x7A));
    g.FillEllipse(&shadow, cx - r * 0.95f, cy + r * 1.08f, r * 1.9f, r * 0.22f);

    // Legs, then the bells and the striker, all behind the case.
    for (float side : {-1.0f, 1.0f})
        RoundLine(g, outline, r * 0.11f, At(cx, cy, side * 0.38f, r * 0.8f), At(cx, cy, side * 0.38f, r * 1.14f));

    gp::Pen rim(gp::Color(255, 0x8A, 0x64, 0x00), line);
    gp::Pen stem(gp::Color(255, 0x6E, 0x6E, 0x6E), r * 0.08f);
    for (float side : {-1.0f, 1.0f}) {
        gp::PointF bell = At(cx, cy, side * 0.115f, r * 1.02f);
        g.DrawLine(&stem, At(cx, cy, side * 0.1f, r * 0.8f), bell);
        float br = r * 0.34f;
        gp::LinearGradientBrush gold(gp::PointF(bell.X - br, bell.Y - br), gp::PointF(bell.X + br, bell.Y + br),
                                     gp::Color(255, 0xFF, 0xE0, 0x6A), gp::Color(255, 0xE0, 0xA0, 0x00));
        // A bell is a dome: the upper half of a disc, leaning outwards.
        gp::GraphicsPath dome;
        dome.AddPie(bell.X - br, bell.Y - br, 2 * br, 2 * br, 180.0f + side * 35.0f, 180.0f);
        g.FillPath(&gold, &dome);
        g.DrawPath(&rim, &dome);
    }
    gp::SolidBrush steel(gp::Color(255, 0x70, 0x70, 0x70));
    g.FillRectangle(&steel, cx - r * 0.05f, cy - r * 1.22f, r * 0.1f, r * 0.3f);
    Disc(g, steel, cx, cy - r * 1.24f, r * 0.09f);

    // The case: a red ring with light from the top left.
    gp::LinearGradientBrush red(gp::PointF(cx - r, cy - r), gp::PointF(cx + r, cy + r), gp::Color(255, 0xE8, 0x4A, 0x3C),
                                gp::Color(255, 0x9C, 0x18, 0x12));
    Disc(g, red, cx, cy, r);
    gp::Pen caseLine(outline, line);
    g.DrawEllipse(&caseLine, cx - r, cy - r, 2 * r, 2 * r);

    // The face.
    const float face = r * kFace;
    gp::LinearGradientBrush paper(gp::PointF(cx, cy - face), gp::PointF(cx, cy + face), gp::Color(255, 0xFF, 0xFF, 0xFF),
                                  gp::Color(255, 0xEE, 0xEA, 0xDE));
    Disc(g, paper, cx, cy, face);
    g.DrawEllipse(&caseLine, cx - face, cy - face, 2 * face, 2 * face);

    const gp::Color ink = Ink();
    for (int i = 0; i < 60; ++i) {
        bool hour = i % 5 == 0, quarter = i % 15 == 0;
        if (!hour && r < 40) continue;  // minute marks only where there is room for them
        float inner = face * (quarter ? 0.76f : hour ? 0.82f : 0.9f);
        gp::Pen tick(ink, quarter ? r * 0.05f : hour ? r * 0.035f : std::max(1.0f, r * 0.012f));
        g.DrawLine(&tick, At(cx, cy, i / 60.0f, inner), At(cx, cy, i / 60.0f, face * 0.95f));
    }
}

void DrawAlarmClockHands(HDC dc, float cx, float cy, float r, const SYSTEMTIME& time, bool showSeconds) {
    gp::Graphics g(dc);
    Prepare(g);
    const float face = r * kFace;
    const gp::Color ink = Ink();
    float minutes = time.wMinute + time.wSecond / 60.0f;
    float hours = (time.wHour % 12) + minutes / 60.0f;
    Hand(g, cx, cy, hours / 12.0f, face * 0.52f, face * 0.1f, r * 0.075f, ink);
    Hand(g, cx, cy, minutes / 60.0f, face * 0.78f, face * 0.12f, r * 0.05f, ink);
    if (showSeconds)
        Hand(g, cx, cy, time.wSecond / 60.0f, face * 0.84f, face * 0.2f, std::max(1.0f, r * 0.02f),
             gp::Color(255, 0xC6, 0x28, 0x28));
    gp::SolidBrush cap(gp::Color(255, 0xC6, 0x28, 0x28));
    Disc(g, cap, cx, cy, r * 0.07f);
}

}  // namespace chw::win32
