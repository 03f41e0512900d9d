// The skinned push button's state machine, face geometry, gradient colours and property
// store. Windows-free: saver/command.cpp turns the outputs into drawing and events.
#include "core/command_logic.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace halvane {

// ---- state machine -----------------------------------------------------------------

CommandOutput CommandLogic::TakeOutput() {
  CommandOutput out = std::move(output_);
  output_ = CommandOutput{};
  return out;
}

void CommandLogic::DrawFace(CommandPicture picture) {
  // The gradient runs inverted while hovered and unfocused; the two modes without a
  // picture of their own keep the direction of the previous drawing.
  switch (mode_) {
    case ModeNormal: gradientInverted_ = false; break;
    case ModeHighLight: gradientInverted_ = true; break;
    case ModeSelected: gradientInverted_ = false; break;
    default: break;
  }
  output_.drawn.push_back({picture, gradientInverted_});
}

void CommandLogic::Initialize() {
  mode_ = ModeNormal;
  timerRunning_ = true;
  output_.timerStarted = true;
}

void CommandLogic::FocusGained() {
  if (!enabled_) return;
  if (mode_ != ModeHighLight) {
    mode_ = ModeSelected;
    DrawFace(CommandPicture::Selected);
  } else {
    mode_ = ModeHighLightSelect;
    DrawFace(CommandPicture::Pressed);
  }
}

void CommandLogic::FocusLost() {
  if (!enabled_) return;
  if (mode_ != ModeNormal) {
    mode_ = ModeNormal;
    DrawFace(CommandPicture::Normal);
  }
}

void CommandLogic::ButtonPressed(int button) {
  if (!enabled_) return;
  if (button == kLeftButton) {
    leftHeld_ = true;
    DrawFace(CommandPicture::Pressed);
  }
}

void CommandLogic::MouseMoved() {
  if (!enabled_) return;
  if (mode_ == ModeNormal) {
    mode_ = ModeHighLight;
    DrawFace(CommandPicture::HighLight);
  }
  if (mode_ == ModeSelected && !leftHeld_) {
    mode_ = ModeHighLightSelect;
    DrawFace(CommandPicture::HighLightSelect);
  }
}

void CommandLogic::ButtonReleased(int button) {
  if (!enabled_) return;
  if (button == kLeftButton) {
    leftHeld_ = false;
    if (mode_ == ModeHighLight) {
      DrawFace(CommandPicture::Normal);
    } else if (mode_ == ModeHighLightSelect) {
      DrawFace(CommandPicture::HighLightSelect);
    }
  }
  // Any button raises Click unless a tick has seen the cursor leave a focused button.
  if (mode_ != ModeSelected) output_.click = true;
}

void CommandLogic::HoverTick(bool cursorOverControl) {
  if (!timerRunning_) return;
  if (!cursorOverControl) EndHover();
}

void CommandLogic::EndHover() {
  if (!enabled_) return;
  if (mode_ == ModeHighLight) {
    mode_ = ModeNormal;
    DrawFace(CommandPicture::Normal);
  } else if (mode_ == ModeHighLightSelect) {
    mode_ = ModeSelected;
    DrawFace(CommandPicture::Selected);
  }
}

void CommandLogic::Resized() { ShowEnabledState(); }

void CommandLogic::ShowEnabledState() {
  if (enabled_) {
    DrawFace(CommandPicture::Normal);
    captionEnabled_ = true;
  } else {
    DrawFace(CommandPicture::Disable);
    captionEnabled_ = false;
  }
}

void CommandLogic::RestoreNormalLook() {
  if (!enabled_) return;
  captionEnabled_ = true;
  if (firstRun_ == 0) captionColour_ = 0;
  DrawFace(CommandPicture::Normal);
}

void CommandLogic::FirstUseStep() {
  if (firstRun_ == 0) {
    RestoreNormalLook();
    firstRun_ = 1;
    enabled_ = true;
  }
}

bool CommandLogic::ReadEnabled() {
  FirstUseStep();
  bool value = enabled_;
  ShowEnabledState();
  return value;
}

void CommandLogic::WriteEnabled(bool value) {
  enabled_ = value;
  output_.changed.push_back("Enabled");
  ShowEnabledState();
}

uint32_t CommandLogic::ReadFontColour() {
  uint32_t value = captionColour_;
  RestoreNormalLook();
  return value;
}

void CommandLogic::WriteFontColour(uint32_t value) {
  captionColour_ = value;
  RestoreNormalLook();
  output_.changed.push_back("FontColour");
}

uint8_t CommandLogic::ReadVisible() {
  if (!opaque_) return 0;
  RestoreNormalLook();
  return 255;
}

void CommandLogic::WriteVisible(uint8_t value) {
  opaque_ = value != 0;
  if (opaque_) RestoreNormalLook();
  output_.changed.push_back("Visible");
}

void CommandLogic::WriteCaption(std::string value) {
  caption_ = std::move(value);
  output_.changed.push_back("Caption");
}

void CommandLogic::WriteFont(std::optional<std::string> value) {
  font_ = std::move(value);
  output_.changed.push_back("Font");
}

void CommandLogic::LoadProperties(const CommandProperties& p) {
  enabled_ = p.enabled;
  caption_ = p.caption;
  font_ = p.font;
  firstRun_ = p.firstRun;
  captionColour_ = p.fontColour;
  opaque_ = p.visible != 0;
  RestoreNormalLook();
}

CommandProperties CommandLogic::SaveProperties() {
  CommandProperties p;
  p.enabled = enabled_;
  p.caption = caption_;
  p.firstRun = firstRun_;
  p.font = font_;
  p.fontColour = captionColour_;
  p.visible = opaque_ ? 1 : 0;
  RestoreNormalLook();
  return p;
}

// ---- property store ----------------------------------------------------------------

namespace {

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "&H" followed by 1 to 8 hexadecimal digits.
std::optional<uint32_t> ParseHex(std::string_view s) {
  if (s.size() < 3 || s[0] != '&' || (s[1] != 'H' && s[1] != 'h') || s.size() > 10) {
    return std::nullopt;
  }
  uint32_t v = 0;
  for (size_t i = 2; i < s.size(); ++i) {
    int d = HexDigit(s[i]);
    if (d < 0) return std::nullopt;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  return v;
}

// A whole decimal number (optional sign) or an "&H" number, blanks around allowed.
std::optional<long long> ParseInteger(std::string_view text) {
  std::string_view s = Trim(text);
  if (s.empty()) return std::nullopt;
  if (s[0] == '&') {
    auto h = ParseHex(s);
    if (!h) return std::nullopt;
    return static_cast<long long>(*h);
  }
  size_t i = 0;
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    i = 1;
  }
  if (i == s.size() || s.size() - i > 12) return std::nullopt;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
  }
  return negative ? -v : v;
}

std::optional<bool> ParseBoolean(std::string_view text) {
  std::string_view s = Trim(text);
  if (EqualsNoCase(s, "true")) return true;
  if (EqualsNoCase(s, "false")) return false;
  auto n = ParseInteger(s);
  if (!n) return std::nullopt;
  return *n != 0;
}

// Values are stored on one line: backslash, CR and LF are escaped.
std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string Unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[++i];
      out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

CommandProperties ParseCommandProperties(std::string_view text) {
  CommandProperties p;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view name = Trim(line.substr(0, eq));
    std::string_view value = line.substr(eq + 1);
    if (EqualsNoCase(name, "Enabled")) {
      if (auto b = ParseBoolean(value)) p.enabled = *b;
    } else if (EqualsNoCase(name, "Caption")) {
      p.caption = Unescape(value);
    } else if (EqualsNoCase(name, "Font")) {
      if (ParseCommandFont(value)) p.font = std::string(Trim(value));
    } else if (EqualsNoCase(name, "FirstRun")) {
      auto n = ParseInteger(value);
      if (n && *n >= 0 && *n <= 255) p.firstRun = static_cast<uint8_t>(*n);
    } else if (EqualsNoCase(name, "FontColour")) {
      auto n = ParseInteger(value);
      if (n && *n >= std::numeric_limits<int32_t>::min() && *n <= 0xFFFFFFFFLL) {
        p.fontColour = static_cast<uint32_t>(*n);
      }
    } else if (EqualsNoCase(name, "Visible")) {
      auto n = ParseInteger(value);
      if (n && *n >= -32768 && *n <= 32767) p.visible = static_cast<int16_t>(*n);
    }
  }
  return p;
}

std::string FormatCommandProperties(const CommandProperties& p) {
  const CommandProperties defaults;
  std::string out;
  if (p.enabled != defaults.enabled) out += std::string("Enabled=") + (p.enabled ? "True" : "False") + "\n";
  if (p.caption != defaults.caption) out += "Caption=" + Escape(p.caption) + "\n";
  if (p.firstRun != defaults.firstRun) out += "FirstRun=" + std::to_string(p.firstRun) + "\n";
  if (p.font) out += "Font=" + *p.font + "\n";
  if (p.fontColour != defaults.fontColour) out += "FontColour=" + std::to_string(p.fontColour) + "\n";
  if (p.visible != defaults.visible) out += "Visible=" + std::to_string(p.visible) + "\n";
  return out;
}

std::optional<CommandFont> ParseCommandFont(std::string_view text) {
  std::string_view s = Trim(text);
  std::string_view fields[4];
  for (int i = 3; i > 0; --i) {  // the name may hold commas; the three numbers do not
    size_t comma = s.rfind(',');
    if (comma == std::string_view::npos) return std::nullopt;
    fields[i] = Trim(s.substr(comma + 1));
    s = s.substr(0, comma);
  }
  fields[0] = Trim(s);
  if (fields[0].empty()) return std::nullopt;

  CommandFont font;
  font.name = std::string(fields[0]);
  std::string points(fields[1]);
  char* end = nullptr;
  font.points = std::strtod(points.c_str(), &end);
  if (points.empty() || *end != '\0' || !(font.points > 0.0 && font.points <= 1000.0)) {
    return std::nullopt;
  }
  auto weight = ParseInteger(fields[2]);
  auto charset = ParseInteger(fields[3]);
  if (!weight || *weight < 0 || *weight > 1000 || !charset || *charset < 0 || *charset > 255) {
    return std::nullopt;
  }
  font.weight = static_cast<int>(*weight);
  font.charset = static_cast<int>(*charset);
  return font;
}

std::string FormatCommandFont(const CommandFont& font) {
  char points[32];
  std::snprintf(points, sizeof points, "%g", font.points);
  return font.name + "," + points + "," + std::to_string(font.weight) + "," +
         std::to_string(font.charset);
}

// ---- face geometry -----------------------------------------------------------------

std::array<FacePiece, 8> FacePieces(int w, int h) {
  return {{
      {{1, 1, 60, 60}, {0, 0, 60, 60}},                // top-left corner
      {{60, 1, w - 120, 60}, {60, 1, 840, 60}},        // top edge
      {{w - 60, 1, 60, 60}, {900, 1, 60, 60}},         // top-right corner
      {{w - 60, 60, 60, h - 120}, {900, 60, 60, 255}}, // right edge
      {{w - 60, h - 60, 60, 60}, {900, 315, 60, 60}},  // bottom-right corner
      {{60, h - 60, w - 120, 60}, {60, 315, 840, 60}}, // bottom edge
      {{1, h - 60, 60, 60}, {0, 315, 60, 60}},         // bottom-left corner
      {{1, 60, 60, h - 120}, {1, 60, 60, 255}},        // left edge
  }};
}

int TwipsToPixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

TwipRect TwipsToPixels(const TwipRect& r) {
  return {TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
          TwipsToPixels(r.height)};
}

double CaptionTopTwips(int heightTwips) {
  return (static_cast<double>(heightTwips) - kCaptionHeightTwips - 20) / 2.0;
}

std::optional<std::array<uint16_t, 3>> GradientChannels(std::string_view colourText) {
  auto value = ParseHex(Trim(colourText));
  if (!value) return std::nullopt;
  // Written back as upper-case digits without leading zeros, then cut in pairs.
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  uint32_t v = *value;
  do {
    hex.insert(hex.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  std::array<uint16_t, 3> channels{};
  for (size_t i = 0; i < 3; ++i) {
    std::string pair = 2 * i < hex.size() ? hex.substr(2 * i, 2) : std::string();
    uint32_t c = 0;
    for (char d : pair) c = (c << 4) | static_cast<uint32_t>(HexDigit(d));
    channels[i] = static_cast<uint16_t>(c << 8);  // "&H" + digits + "00"
  }
  return channels;
}

GradientTexts GradientColours(bool inverted) {
  if (inverted) return {"&HC6C5D7", "&HFFFFFF"};
  return {"&HFFFFFF", "&HC6C5D7"};
}

}  // namespace halvane
