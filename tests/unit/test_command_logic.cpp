// The skinned push button without a window: event sequences against the transition table,
// the first-use step and property side effects, the property store, the border pieces and
// the gradient colours.
#include "core/command_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace halvane;

namespace {

using P = CommandPicture;

// A button as the settings dialog makes it: loaded from its store, then initialised.
CommandLogic DialogButton() {
  CommandLogic b;
  b.LoadProperties(ParseCommandProperties("caption=設定\nfont=ＭＳ Ｐゴシック,9.75,400,128\n"));
  b.Initialize();
  b.TakeOutput();
  return b;
}

// Events by letter: M move, F focus gained, L focus lost, P/R press/release with the
// button number after them (P1, R2), T tick with the cursor outside, t tick over the button,
// Z resize, D disable, E enable.
struct Played {
  std::vector<FaceDrawing> drawn;
  int clicks = 0;
};

Played Play(CommandLogic& b, const std::string& script) {
  Played run;
  for (size_t i = 0; i < script.size(); ++i) {
    char c = script[i];
    switch (c) {
      case 'M': b.MouseMoved(); break;
      case 'F': b.FocusGained(); break;
      case 'L': b.FocusLost(); break;
      case 'P': b.ButtonPressed(script[++i] - '0'); break;
      case 'R': b.ButtonReleased(script[++i] - '0'); break;
      case 'T': b.HoverTick(false); break;
      case 't': b.HoverTick(true); break;
      case 'Z': b.Resized(); break;
      case 'D': b.WriteEnabled(false); break;
      case 'E': b.WriteEnabled(true); break;
      case ' ': continue;
      default: ADD_FAILURE() << "bad script letter " << c; break;
    }
    CommandOutput out = b.TakeOutput();
    run.drawn.insert(run.drawn.end(), out.drawn.begin(), out.drawn.end());
    if (out.click) ++run.clicks;
  }
  return run;
}

constexpr bool Inv = true;
constexpr bool Std = false;

struct SequenceCase {
  const char* name;
  const char* script;
  CommandMode mode;
  std::vector<FaceDrawing> drawn;
  int clicks;
};

}  // namespace

TEST(CommandLogic, EventSequences) {
  const SequenceCase cases[] = {
      // A press on a hovered, unfocused button gives focus first (the window's order).
      {"hovered press and release over it", "M F P1 R1", ModeHighLightSelect,
       {{P::HighLight, Inv}, {P::Pressed, Inv}, {P::Pressed, Inv}, {P::HighLightSelect, Inv}}, 1},
      {"cursor re-enters a focused button", "F M", ModeHighLightSelect,
       {{P::Selected, Std}, {P::HighLightSelect, Std}}, 0},
      {"press, drag out, tick, release outside", "M F P1 M T R1", ModeSelected,
       {{P::HighLight, Inv}, {P::Pressed, Inv}, {P::Pressed, Inv}, {P::Selected, Std}}, 0},
      {"press, drag out, tick, back in, release, move", "M F P1 T M R1 M", ModeHighLightSelect,
       {{P::HighLight, Inv}, {P::Pressed, Inv}, {P::Pressed, Inv}, {P::Selected, Std},
        {P::HighLightSelect, Std}}, 0},
      {"release within a tick of leaving still clicks", "M F P1 M R1", ModeHighLightSelect,
       {{P::HighLight, Inv}, {P::Pressed, Inv}, {P::Pressed, Inv}, {P::HighLightSelect, Inv}}, 1},
      {"right button: no Pressed face, still a Click", "M P2 R2", ModeHighLight,
       {{P::HighLight, Inv}}, 1},
      {"left release on a hovered button draws Normal", "M P1 R1", ModeHighLight,
       {{P::HighLight, Inv}, {P::Pressed, Inv}, {P::Normal, Inv}}, 1},
      {"keyboard focus while hovered keeps Pressed", "M F t t T", ModeSelected,
       {{P::HighLight, Inv}, {P::Pressed, Inv}, {P::Selected, Std}}, 0},
      {"ticks outside an idle button draw nothing", "T T M T T", ModeNormal,
       {{P::HighLight, Inv}, {P::Normal, Std}}, 0},
      {"focus lost while hovered shows Normal", "M F L", ModeNormal,
       {{P::HighLight, Inv}, {P::Pressed, Inv}, {P::Normal, Std}}, 0},
      {"resize replaces a hover face, mode kept", "M Z", ModeHighLight,
       {{P::HighLight, Inv}, {P::Normal, Inv}}, 0},
      {"disabled: nothing reacts", "D M F P1 R1 R2 T L", ModeNormal, {{P::Disable, Std}}, 0},
      {"re-enabled reacts again", "D E M R2", ModeHighLight,
       {{P::Disable, Std}, {P::Normal, Std}, {P::HighLight, Inv}}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CommandLogic b = DialogButton();
    Played run = Play(b, c.script);
    EXPECT_EQ(b.Mode(), c.mode);
    EXPECT_EQ(run.drawn, c.drawn);
    EXPECT_EQ(run.clicks, c.clicks);
  }
}

TEST(CommandLogic, BeforeInitializeMovesDoNothingAndFirstPressGivesNoClick) {
  CommandLogic b;
  b.LoadProperties(CommandProperties{});
  b.TakeOutput();
  Played run = Play(b, "M M t");
  EXPECT_TRUE(run.drawn.empty());
  EXPECT_FALSE(b.TimerRunning());
  run = Play(b, "F P1 R1");
  EXPECT_EQ(b.Mode(), ModeSelected);
  EXPECT_EQ(run.clicks, 0);
  EXPECT_EQ(run.drawn, (std::vector<FaceDrawing>{{P::Selected, Std}, {P::Pressed, Std}}));

  b.Initialize();
  CommandOutput out = b.TakeOutput();
  EXPECT_TRUE(out.timerStarted);
  EXPECT_TRUE(out.drawn.empty());
  EXPECT_EQ(b.Mode(), ModeNormal);
}

TEST(CommandLogic, FirstUseStepSwitchesOnAControlWithoutStore) {
  CommandLogic b;  // created without stored properties: disabled, FirstRun 0
  EXPECT_FALSE(b.EnabledField());
  EXPECT_TRUE(b.ReadEnabled());
  EXPECT_EQ(b.TakeOutput().drawn, (std::vector<FaceDrawing>{{P::Normal, Std}}));
  EXPECT_EQ(b.FirstRun(), 1);
  EXPECT_TRUE(b.ReadEnabled());
  EXPECT_EQ(b.TakeOutput().drawn.size(), 1u);

  // A store holding FirstRun 0 on an enabled button: the colour is reset to black by the
  // load and once more by the first read, each drawing Normal.
  CommandLogic s;
  CommandProperties p;
  p.firstRun = 0;
  p.fontColour = 0x0000FF;
  s.LoadProperties(p);
  EXPECT_EQ(s.CaptionColour(), 0u);
  EXPECT_EQ(s.TakeOutput().drawn.size(), 1u);
  s.WriteFontColour(0x00FF00);
  s.TakeOutput();
  EXPECT_TRUE(s.ReadEnabled());
  EXPECT_EQ(s.CaptionColour(), 0u);
  EXPECT_EQ(s.TakeOutput().drawn, (std::vector<FaceDrawing>{{P::Normal, Std}, {P::Normal, Std}}));
}

TEST(CommandLogic, PropertyAccessRedrawsWithoutChangingMode) {
  CommandLogic b = DialogButton();
  Play(b, "F");  // focused: Selected face
  b.WriteFontColour(0x123456);
  CommandOutput out = b.TakeOutput();
  EXPECT_EQ(out.drawn, (std::vector<FaceDrawing>{{P::Normal, Std}}));
  EXPECT_EQ(out.changed, (std::vector<std::string>{"FontColour"}));
  EXPECT_EQ(b.Mode(), ModeSelected);
  EXPECT_EQ(b.ReadFontColour(), 0x123456u);
  EXPECT_EQ(b.TakeOutput().drawn.size(), 1u);

  b.WriteVisible(0);
  EXPECT_TRUE(b.TakeOutput().drawn.empty());
  EXPECT_EQ(b.ReadVisible(), 0);
  EXPECT_TRUE(b.TakeOutput().drawn.empty());
  b.WriteVisible(7);
  EXPECT_EQ(b.TakeOutput().drawn.size(), 1u);
  EXPECT_EQ(b.ReadVisible(), 255);
  EXPECT_EQ(b.SaveProperties().visible, 1);

  b.WriteEnabled(false);
  b.TakeOutput();
  EXPECT_FALSE(b.CaptionEnabled());
  b.WriteFontColour(0);  // disabled: no Normal face
  EXPECT_TRUE(b.TakeOutput().drawn.empty());
  EXPECT_FALSE(b.ReadEnabled());
  EXPECT_EQ(b.TakeOutput().drawn, (std::vector<FaceDrawing>{{P::Disable, Std}}));
}

TEST(CommandProperties, ParsesNamesInAnyCaseAndPassesOverBadValues) {
  CommandProperties p = ParseCommandProperties(
      "CAPTION=ｷｬﾝｾﾙ\r\nfont=ＭＳ Ｐゴシック,9.75,400,128\r\nenabled=0\nfirstrun=300\n"
      "fontcolour=&HFF\nVisible=0\nunknown=1\nno equals sign\n");
  EXPECT_EQ(p.caption, "ｷｬﾝｾﾙ");
  ASSERT_TRUE(p.font.has_value());
  EXPECT_FALSE(p.enabled);
  EXPECT_EQ(p.firstRun, 1);  // 300 does not fit 8 bits: default kept
  EXPECT_EQ(p.fontColour, 0xFFu);
  EXPECT_EQ(p.visible, 0);

  CommandProperties d = ParseCommandProperties("enabled=maybe\nfont=nameonly\nvisible=40000\n");
  EXPECT_TRUE(d.enabled);
  EXPECT_FALSE(d.font.has_value());
  EXPECT_EQ(d.visible, 1);
  EXPECT_EQ(d.caption, "Command");

  auto f = ParseCommandFont("Name, with comma,9.75,700,128");
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->name, "Name, with comma");
  EXPECT_DOUBLE_EQ(f->points, 9.75);
  EXPECT_EQ(f->weight, 700);
  EXPECT_FALSE(ParseCommandFont("X,0,400,128").has_value());
  EXPECT_FALSE(ParseCommandFont("X,9,400,256").has_value());
}

TEST(CommandProperties, FormatsInOrderWithoutDefaultsAndRoundTrips) {
  EXPECT_EQ(FormatCommandProperties(CommandProperties{}), "");
  CommandProperties p;
  p.enabled = false;
  p.caption = "two\nlines \\ here";
  p.firstRun = 0;
  p.font = "Arial,12,400,0";
  p.fontColour = 255;
  p.visible = 0;
  std::string text = FormatCommandProperties(p);
  EXPECT_EQ(text,
            "Enabled=False\nCaption=two\\nlines \\\\ here\nFirstRun=0\nFont=Arial,12,400,0\n"
            "FontColour=255\nVisible=0\n");
  CommandProperties q = ParseCommandProperties(text);
  EXPECT_EQ(q.caption, p.caption);
  EXPECT_EQ(FormatCommandProperties(q), text);
}

TEST(CommandFace, PiecesOfAFullSizeButtonCopyOneToOne) {
  auto pieces = FacePieces(960, 375);
  EXPECT_EQ(pieces[1].destination, (TwipRect{60, 1, 840, 60}));
  EXPECT_EQ(pieces[3].destination, (TwipRect{900, 60, 60, 255}));
  EXPECT_EQ(pieces[4].destination, (TwipRect{900, 315, 60, 60}));
  for (const auto& piece : pieces) {
    EXPECT_EQ(TwipsToPixels(piece.destination), TwipsToPixels(piece.source));
  }
  // The ring covers the whole 64 x 25 outline and nothing of the 56 x 17 centre.
  const TwipRect centre{4, 4, 56, 17};
  for (const auto& piece : pieces) {
    TwipRect s = TwipsToPixels(piece.source);
    bool overlaps = s.left < centre.left + centre.width && centre.left < s.left + s.width &&
                    s.top < centre.top + centre.height && centre.top < s.top + s.height;
    EXPECT_FALSE(overlaps);
  }
}

TEST(CommandFace, PiecesOfTheSmallestDialogButton) {
  const TwipRect expectedPixels[8] = {
      {0, 0, 4, 4}, {4, 0, 21, 4}, {25, 0, 4, 4}, {25, 4, 4, 13},
      {25, 17, 4, 4}, {4, 17, 21, 4}, {0, 17, 4, 4}, {0, 4, 4, 13},
  };
  auto pieces = FacePieces(435, 315);
  EXPECT_EQ(pieces[1].destination, (TwipRect{60, 1, 315, 60}));
  EXPECT_EQ(pieces[7].destination, (TwipRect{1, 60, 60, 195}));
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(TwipsToPixels(pieces[i].destination), expectedPixels[i]);
  }
  EXPECT_DOUBLE_EQ(CaptionTopTwips(375), 80.0);
  EXPECT_DOUBLE_EQ(CaptionTopTwips(315), 50.0);
}

TEST(CommandFace, GradientChannelsReadRedFirst) {
  using C = std::array<uint16_t, 3>;
  EXPECT_EQ(GradientChannels("&HC6C5D7"), (C{0xC600, 0xC500, 0xD700}));
  EXPECT_EQ(GradientChannels("&HFFFFFF"), (C{0xFF00, 0xFF00, 0xFF00}));
  EXPECT_FALSE(GradientChannels("C6C5D7").has_value());
  EXPECT_FALSE(GradientChannels("&HC6G5D7").has_value());
  EXPECT_STREQ(GradientColours(false).top, "&HFFFFFF");
  EXPECT_STREQ(GradientColours(true).top, "&HC6C5D7");
}
