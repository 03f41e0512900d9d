// The skinned push button's decisions, free of Windows: its hover and focus state, which
// state picture its face shows, when it raises Click, how the border ring is cut from a
// 64 x 25 state picture, the gradient colours, and its persisted properties.
// saver/command.cpp owns the window and draws what this file decides.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane {

// Hover and focus state of a button.
enum CommandMode : uint8_t {
  ModeNone = 0,             // before Initialize: hover is not tracked
  ModeNormal = 1,           // neither hovered nor focused
  ModeHighLight = 2,        // hovered, not focused
  ModeSelected = 3,         // focused, not hovered
  ModeHighLightSelect = 4,  // focused and hovered
};

// The six state pictures, in the order of the picture resources.
enum class CommandPicture : uint8_t { Normal, HighLight, Pressed, Disable, Selected, HighLightSelect };
constexpr int kCommandPictureCount = 6;

constexpr int kLeftButton = 1;  // mouse button numbers: 1 left, 2 right, 4 middle

// One redraw of the face: the picture whose ring frames it and the gradient direction.
struct FaceDrawing {
  CommandPicture picture;
  bool gradientInverted;
  bool operator==(const FaceDrawing& o) const {
    return picture == o.picture && gradientInverted == o.gradientInverted;
  }
};

// What one call asked of the window, in order of drawing.
struct CommandOutput {
  std::vector<FaceDrawing> drawn;
  bool timerStarted = false;
  bool click = false;                  // raised after every drawing of the same call
  std::vector<std::string> changed;    // persisted properties reported as changed
};

// The persisted properties of one button, as held in its property store.
struct CommandProperties {
  bool enabled = true;
  std::string caption = "Command";      // caption text (UTF-8)
  std::optional<std::string> font;      // font text (see ParseCommandFont); none: ambient font
  uint8_t firstRun = 1;
  uint32_t fontColour = 0;              // 0x00BBGGRR, or 0x80000000 | system colour index
  int16_t visible = 1;                  // stored opacity: 1 opaque, 0 transparent
};

// The property store's text: one "name=value" per line, names in any letter case
// ("Enabled", "Caption", "Font", "FirstRun", "FontColour", "Visible"). Unknown names and
// values that do not convert are passed over, so their defaults stay.
CommandProperties ParseCommandProperties(std::string_view text);
// Writes the entries in the order Enabled, Caption, FirstRun, Font, FontColour, Visible,
// leaving out those equal to their defaults.
std::string FormatCommandProperties(const CommandProperties& properties);

// A font of the store: "name,points,weight,charset" (e.g. "ＭＳ Ｐゴシック,9.75,400,128").
struct CommandFont {
  std::string name;
  double points = 9.75;
  int weight = 400;
  int charset = 128;
};
std::optional<CommandFont> ParseCommandFont(std::string_view text);
std::string FormatCommandFont(const CommandFont& font);

// The button's state machine. Each call collects what it asks of the window in an output
// that TakeOutput hands over; the window draws the faces, starts the timer and raises
// Click in that order.
class CommandLogic {
 public:
  // Events of the window.
  void Initialize();
  void FocusGained();
  void FocusLost();
  void ButtonPressed(int button);
  void MouseMoved();
  void ButtonReleased(int button);
  void HoverTick(bool cursorOverControl);
  void Resized();

  // Properties.
  bool ReadEnabled();
  void WriteEnabled(bool value);
  uint32_t ReadFontColour();
  void WriteFontColour(uint32_t value);
  uint8_t ReadVisible();
  void WriteVisible(uint8_t value);
  std::string Caption() const { return caption_; }
  void WriteCaption(std::string value);
  std::optional<std::string> Font() const { return font_; }
  void WriteFont(std::optional<std::string> value);

  void LoadProperties(const CommandProperties& properties);
  CommandProperties SaveProperties();

  // State the window paints from.
  CommandMode Mode() const { return mode_; }
  bool EnabledField() const { return enabled_; }  // without the first-use step
  bool LeftHeld() const { return leftHeld_; }
  bool GradientInverted() const { return gradientInverted_; }
  uint8_t FirstRun() const { return firstRun_; }
  bool CaptionEnabled() const { return captionEnabled_; }
  uint32_t CaptionColour() const { return captionColour_; }
  bool Opaque() const { return opaque_; }
  bool TimerRunning() const { return timerRunning_; }

  CommandOutput TakeOutput();

 private:
  void DrawFace(CommandPicture picture);
  void EndHover();
  void ShowEnabledState();
  void RestoreNormalLook();
  void FirstUseStep();

  CommandMode mode_ = ModeNone;
  bool enabled_ = false;
  bool leftHeld_ = false;
  bool gradientInverted_ = false;
  uint8_t firstRun_ = 0;
  bool captionEnabled_ = true;
  uint32_t captionColour_ = 0;
  bool opaque_ = true;
  bool timerRunning_ = false;
  std::string caption_ = "Command";
  std::optional<std::string> font_;
  CommandOutput output_;
};

// ---- face geometry -----------------------------------------------------------------

constexpr int kTwipsPerPixel = 15;
constexpr int kPictureWidthTwips = 960;   // a 64 x 25 state picture, in twips
constexpr int kPictureHeightTwips = 375;
constexpr int kCaptionHeightTwips = 195;

struct TwipRect {
  int left, top, width, height;
  bool operator==(const TwipRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

// One border piece: where it goes on the face and where it comes from in the picture.
struct FacePiece {
  TwipRect destination;
  TwipRect source;
};

// The eight border pieces of a face W x H twips, corners and edges clockwise from the top
// left. The centre of the picture is never copied.
std::array<FacePiece, 8> FacePieces(int widthTwips, int heightTwips);

// Twips to whole pixels, to the nearest pixel.
int TwipsToPixels(int twips);
TwipRect TwipsToPixels(const TwipRect& r);

// Top of the caption label in twips: (H - 195 - 20) / 2.
double CaptionTopTwips(int heightTwips);

// The three 16-bit channel values of a colour text such as "&HC6C5D7", read red first in
// text order: 0xC600, 0xC500, 0xD700. Nullopt when the text is not a hexadecimal number.
std::optional<std::array<uint16_t, 3>> GradientChannels(std::string_view colourText);

// The gradient's top and bottom colour texts for one direction.
struct GradientTexts {
  const char* top;
  const char* bottom;
};
GradientTexts GradientColours(bool inverted);

}  // namespace halvane
