// The candy button's portable heart: its colour schemes and properties, the corner radii and
// window shape, the faces of its painters as drawing primitives, the placement of picture
// and caption, and the hover/press/focus/latched state machine with the events it raises.
// No <windows.h>: colours are 0x00BBGGRR values, coordinates whole pixels of the face.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orv::candy {

using Color = std::uint32_t;  // 0x00BBGGRR

inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kDisabledBase = 0xB0C0C0;

// Draw states of the face.
enum class Look { Normal = 0, Pressed = 1, Focused = 2, Hover = 3, Latched = 4 };

// Channel-wise c1 + (c2 - c1) * percentage / 100, truncated toward zero; percentage clamped
// to 0..100.
Color BlendColors(Color c1, Color c2, int percentage);

struct SchemeColors {
    Color up, hover, down, bright;
};
// Schemes 1..6; none for any other number.
std::optional<SchemeColors> Scheme(int scheme);

// The control's properties with their defaults and the rules of their setters.
class Properties {
public:
    int ColorScheme() const { return scheme_; }
    void SetColorScheme(int scheme);  // 1..6 load the scheme's four colours
    int BorderBrightness() const { return borderBrightness_; }
    void SetBorderBrightness(int value);  // clamped to -100..100
    Color ColorBright() const { return bright_; }
    Color ColorButtonUp() const { return up_; }
    Color ColorButtonHover() const { return hover_; }
    Color ColorButtonDown() const { return down_; }
    // Each of the four colours resets the scheme to 0.
    void SetColorBright(Color c);
    void SetColorButtonUp(Color c);
    void SetColorButtonHover(Color c);
    void SetColorButtonDown(Color c);
    int Style() const { return style_; }
    // False when unchanged (nothing to rebuild); values outside 0..8 are refused.
    bool SetStyle(int style);
    int PictureAlignment() const { return alignment_; }
    bool SetPictureAlignment(int alignment);  // 0..3; false when unchanged or out of range

    Color foreColor = kBlack;
    bool checked = false;
    bool displayHand = false;
    bool iconHighLite = false;
    Color iconHighLiteColor = 0x00FF00;
    bool captionHighLite = false;
    Color captionHighLiteColor = 0x00FF00;

private:
    int scheme_ = 0;
    int borderBrightness_ = 0;
    Color bright_ = 0xFFEDB0;
    Color down_ = 0xE99950;
    Color up_ = 0xE99950;
    Color hover_ = 0xFFC090;
    int style_ = 0;
    int alignment_ = 0;
};

// The corner radius of a style for a face of w x h pixels; 0 for the rectangular styles (and
// for faces too small for a rounded one).
int CornerRadius(int style, int w, int h);

// One row of the window shape: pixels x0 .. x1 - 1 of row y.
struct Span {
    int y, x0, x1;
    bool operator==(const Span&) const = default;
};
// The window shape of a w x h face with corner radius r, row by row (rows outside the shape
// have no span). A point at horizontal distance x from a corner circle's centre, in row y of
// that corner, lies inside when |y - r| < floor(sqrt(r^2 - x^2)). r <= 0: the whole rectangle.
std::vector<Span> ShapeSpans(int w, int h, int r);

// A drawing primitive of a face, in face pixels.
struct Prim {
    enum class Kind { Fill, Ellipse, Line, Pixel };
    Kind kind;
    int x0, y0, x1, y1;  // Fill: rectangle (x1, y1 excluded); Ellipse: its box (filled, no
                         // outline); Line: row y0 from x0 to x1 (excluded); Pixel: (x0, y0)
    Color color;
    bool operator==(const Prim&) const = default;
};

struct FaceInput {
    int style = 7;
    Look look = Look::Normal;
    bool enabled = true;
    SchemeColors colors{};
    int borderBrightness = 0;
    int w = 0, h = 0;
};
// The base colour for a look (disabled: kDisabledBase whatever the look).
Color BaseColor(const FaceInput& in);
Color BorderColor(Color base, int borderBrightness);
// The face of the style's painter, in drawing order.
std::vector<Prim> PaintFace(const FaceInput& in);

// Content placement (DrawIconWCaption). Flags are the DrawState flags.
inline constexpr unsigned kDstPrefixText = 0x02;
inline constexpr unsigned kDstIcon = 0x03;
inline constexpr unsigned kDstBitmap = 0x04;
inline constexpr unsigned kDssDisabled = 0x20;
inline constexpr unsigned kDssMono = 0x80;

enum class PictureKind { None, Bitmap, Icon };
struct ContentInput {
    int w = 0, h = 0, r = 0;
    int flatInset = 8;  // the picture's inset from the side when r is 0 (8 pixels at 96 DPI)
    int alignment = 0;
    Look look = Look::Normal;
    bool enabled = true;
    bool hasCaption = false;
    int textW = 0, textH = 0;
    PictureKind picture = PictureKind::None;
    int picW = 0, picH = 0;
    Color foreColor = kBlack;
    bool captionHighLite = false;
    Color captionHighLiteColor = 0;
    bool iconHighLite = false;
    Color iconHighLiteColor = 0;
};
struct ContentOps {
    bool caption = false;
    int textX = 0, textY = 0;
    unsigned textFlags = 0;
    Color textColor = kBlack;
    bool picture = false;
    int picX = 0, picY = 0;
    unsigned picFlags = 0;
    bool monoBrush = false;  // draw the picture as a shape filled with monoColor
    Color monoColor = 0;
};
ContentOps LayoutContent(const ContentInput& in);

// Events the control raises, in the order they are raised.
enum class Event { Click, DblClick, MouseEnter, MouseLeave, MouseMove, MouseUp, MouseDown };

struct Reaction {
    std::optional<Look> redraw;   // the look to paint now (Latched whenever Checked)
    std::vector<Event> events;
    bool trackLeave = false;      // ask for a leave notification
    bool operator==(const Reaction&) const = default;
};

// Hover, press, focus and the latched look; events only while enabled.
class StateMachine {
public:
    bool enabled = true;
    bool checked = false;
    bool hoverTracking = true;  // without leave notifications there is no hover

    bool Hovering() const { return hover_; }
    bool Focused() const { return focus_; }

    // leftHeld: the left button is down; inside: the pointer is over the control.
    Reaction MouseMove(bool leftHeld, bool inside);
    Reaction MouseLeave();
    Reaction ButtonDown();
    Reaction ButtonUp();
    Reaction Click();
    Reaction DblClick();
    Reaction FocusGained();
    Reaction FocusLost();
    Reaction EnterDown() { return ButtonDown(); }
    Reaction EnterUp();
    Reaction Shown();  // shown or resized
    Reaction SetEnabled(bool on);  // a disabled control forgets the pointer over it
    Reaction SetChecked(bool on);

private:
    Reaction Redraw(Reaction r, Look look) const;
    bool hover_ = false;
    bool focus_ = false;
};

}  // namespace orv::candy
