// The Qt services on their own: filters, pictures, settings, sounds.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "cli/cli.h"
#include "gui/gui_fixture.h"
#include <QMouseEvent>

#include "platform/qt/pane_image.h"
#include "platform/qt/pane_widget.h"
#include "platform/qt/qsettings_profile.h"
#include "platform/qt/qt_ui.h"
#include "platform/synth_sound.h"

TEST(FileFilter, PairsBecomeQtFiltersAndAnExistingBracketIsKept) {
  EXPECT_EQ(ConvertFileFilter("Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*||"),
            (QStringList{"Mesh Skin (*.pcx)", "Bitmap (*.bmp)", "All Files (*.*)"}));
  EXPECT_EQ(ConvertFileFilter("Models|*.md2;*.MD2|Maps|*.vmp||"), (QStringList{"Models (*.md2 *.MD2)", "Maps (*.vmp)"}));
  EXPECT_TRUE(ConvertFileFilter("").isEmpty());
  // A dangling name without patterns is dropped rather than guessed at.
  EXPECT_EQ(ConvertFileFilter("A|*.a|B"), QStringList{"A (*.a)"});
}

namespace {

// Writes down the presses and releases the widget hands on.
class PressLog : public Pane {
 public:
  std::string log;
  const char* WindowName() const override { return "Skin Box"; }
  void Redraw(int, int) override {}
  void Resize(int, int) override {}
  PaneImage Image() const override { return {}; }
  void MouseDown(const MouseEvent& e) override { (log += 'D') += std::to_string(e.x); }
  void MouseUp(const MouseEvent& e) override { (log += 'U') += std::to_string(e.x); }
};

}  // namespace

TEST(PaneWidgetInput, AQuickSecondPressIsAPressThoughQtCallsItADoubleClick) {
  TestApp();
  PressLog pane;
  PaneWidget widget(pane);
  widget.resize(64, 64);
  // What Qt delivers for two quick clicks: the second press comes as a double-click.
  const std::pair<QEvent::Type, int> sequence[] = {{QEvent::MouseButtonPress, 10},
                                                   {QEvent::MouseButtonRelease, 10},
                                                   {QEvent::MouseButtonDblClick, 12},
                                                   {QEvent::MouseButtonRelease, 12}};
  for (auto [type, x] : sequence) {
    const bool held = type != QEvent::MouseButtonRelease;
    QMouseEvent e(type, QPointF(x, 5), QPointF(x, 5), Qt::LeftButton, held ? Qt::LeftButton : Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &e);
  }
  EXPECT_EQ(pane.log, "D10U10D12U12");
}

namespace {

// A drag that hides the pointer while it lasts, as the panes' drags do.
class HidingDrag : public PressLog {
 public:
  void MouseDown(const MouseEvent&) override {
    host()->CaptureMouse();
    host()->SetCursorHidden(true);
  }
  void CaptureLost() override { host()->SetCursorHidden(false); }
};

}  // namespace

TEST(PaneWidgetCursor, HiddenIsAStateNotACountAndALostCaptureShowsItAgain) {
  TestApp();
  HidingDrag pane;
  PaneWidget widget(pane);
  widget.resize(64, 64);
  // Hidden twice over, one show brings it back.
  widget.SetCursorHidden(true);
  widget.SetCursorHidden(true);
  EXPECT_EQ(widget.cursor().shape(), Qt::BlankCursor);
  widget.SetCursorHidden(false);
  EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);

  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
  EXPECT_EQ(widget.cursor().shape(), Qt::BlankCursor);
  QEvent deactivate(QEvent::WindowDeactivate);
  QCoreApplication::sendEvent(&widget, &deactivate);
  EXPECT_FALSE(widget.HasCapture());
  EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);
}

TEST(PaneImage, EightBitBottomUpRowsAreTurnedAndColouredByThePalette) {
  TestApp();
  // 3 x 2 picture, stride 4, bottom row first in memory.
  const std::uint8_t pixels[8] = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE};
  std::array<std::uint8_t, 768> palette{};
  for (int i = 0; i < 256; ++i) {
    palette[i * 3] = static_cast<std::uint8_t>(i * 10);
    palette[i * 3 + 1] = static_cast<std::uint8_t>(i);
    palette[i * 3 + 2] = 7;
  }
  PaneImage image{pixels, 3, 2, 4, 8, true, &palette};
  QImage q;
  ASSERT_TRUE(PaneImageToScreen(image, q));
  ASSERT_EQ(q.size(), QSize(3, 2));
  EXPECT_EQ(q.pixel(0, 0), qRgb(40, 4, 7));  // the top row is the last in memory
  EXPECT_EQ(q.pixel(2, 1), qRgb(30, 3, 7));
  EXPECT_EQ(q.pixel(1, 0), qRgb(50, 5, 7));

  // The same size again reuses the image's memory.
  const uchar* memory = q.constBits();
  image.bottomUp = false;
  ASSERT_TRUE(PaneImageToScreen(image, q));
  EXPECT_EQ(q.pixel(0, 0), qRgb(10, 1, 7));
  EXPECT_EQ(q.constBits(), memory);
}

TEST(PaneImage, TwentyFourBitIsBlueGreenRed) {
  TestApp();
  const std::uint8_t pixels[8] = {10, 20, 30, 40, 50, 60, 0, 0};  // two pixels, stride 8
  PaneImage image{pixels, 2, 1, 8, 24, true, nullptr};
  QImage q;
  ASSERT_TRUE(PaneImageToScreen(image, q));
  ASSERT_EQ(q.size(), QSize(2, 1));
  EXPECT_EQ(q.pixel(0, 0), qRgb(30, 20, 10));
  EXPECT_EQ(q.pixel(1, 0), qRgb(60, 50, 40));
}

TEST(PaneImage, InconsistentPicturesGiveNothing) {
  TestApp();
  const std::uint8_t pixels[16] = {};
  std::array<std::uint8_t, 768> palette{};
  QImage q;
  EXPECT_FALSE(PaneImageToScreen(PaneImage{pixels, 4, 2, 3, 8, true, &palette}, q));  // short rows
  EXPECT_FALSE(PaneImageToScreen(PaneImage{pixels, 4, 2, 4, 8, true, nullptr}, q));   // no palette
  EXPECT_FALSE(PaneImageToScreen(PaneImage{pixels, 2, 2, 4, 16, true, &palette}, q)); // 16 bits
  EXPECT_FALSE(PaneImageToScreen(PaneImage{nullptr, 4, 2, 4, 8, true, &palette}, q));
  EXPECT_FALSE(PaneImageToScreen(PaneImage{pixels, 0, 2, 4, 8, true, &palette}, q));
  EXPECT_TRUE(q.isNull());
}

TEST(SettingsProfile, AnIniFileKeepsSectionsAsGroupsAcrossRuns) {
  TestApp();
  TempDir dir;
  const std::string ini = dir.File("skintool.ini");
  {
    QSettingsProfile p(ini);
    EXPECT_EQ(p.GetString("Project", "BaseDir", "Unknown"), "Unknown");
    EXPECT_EQ(p.GetInt("Preferences", "Splitter", 6500), 6500);
    p.WriteString("Project", "BaseDir", "/data/baseq2");
    p.WriteInt("Preferences", "Skip Intro", 1);
    p.WriteInt("Colors", "Color-0", 248);
  }
  QSettingsProfile again(ini);
  EXPECT_EQ(again.GetString("Project", "BaseDir", "Unknown"), "/data/baseq2");
  EXPECT_EQ(again.GetInt("Preferences", "Skip Intro", 0), 1);
  EXPECT_EQ(again.GetInt("Colors", "Color-0", 0), 248);
  // A text where a number belongs reads as the default.
  again.WriteString("Preferences", "Splitter", "wide");
  EXPECT_EQ(again.GetInt("Preferences", "Splitter", 6500), 6500);
  const std::vector<std::uint8_t> bytes = ReadBytes(ini);
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("[Project]"), std::string::npos);
  EXPECT_NE(text.find("[Preferences]"), std::string::npos);
}

namespace {
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
int S16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}
}  // namespace

TEST(SynthSound, EveryChimeIsAWellFormedShortMonoWave) {
  for (int n = 0; n < kNumBuiltInSounds; ++n) {
    const std::vector<std::uint8_t> wav = SynthIntroSound(n);
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(U32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(U32(wav, 16), 16u);
    EXPECT_EQ(wav[20] | (wav[21] << 8), 1);  // PCM
    EXPECT_EQ(wav[22] | (wav[23] << 8), 1);  // mono
    EXPECT_EQ(U32(wav, 24), static_cast<std::uint32_t>(kSynthSampleRate));
    EXPECT_EQ(wav[34] | (wav[35] << 8), 16);
    EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
    const std::uint32_t data = U32(wav, 40);
    EXPECT_EQ(data, wav.size() - 44);
    // A few hundred milliseconds.
    const double seconds = data / 2.0 / kSynthSampleRate;
    EXPECT_GE(seconds, 0.25);
    EXPECT_LE(seconds, 0.8);
    // Audible in the middle, silent at both ends so the loop does not click.
    int peak = 0;
    for (std::size_t i = 44; i + 1 < wav.size(); i += 2) peak = std::max(peak, std::abs(S16(wav, i)));
    EXPECT_GT(peak, 3000);
    EXPECT_LT(std::abs(S16(wav, 44)), 200);
    EXPECT_LT(std::abs(S16(wav, wav.size() - 2)), 200);
    EXPECT_STRNE(IntroSoundLabel(n), "");
  }
  EXPECT_NE(SynthIntroSound(0), SynthIntroSound(1));
}

TEST(SettingsProfile, TheDemoProfileReadsBackWithItsPaths) {
  TempDir dir;
  std::string base = dir.File("my demo, #1/baseq2");
  std::string ini = dir.File("demo.ini");
  const char* argv[] = {"skintool", "demo", base.c_str(), "--profile", ini.c_str()};
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine(5, argv, out, err), 0) << err.str();
  {
    QSettingsProfile profile(ini);
    EXPECT_EQ(profile.GetString("Project", "BaseDir", "Unknown"), base);
    EXPECT_EQ(profile.GetString("Preferences", "Phong Path", "Unknown"), base + "/phongs");
    // No palette chosen: the lit modes find the base folder's own colormap.
    EXPECT_EQ(profile.GetString("Preferences", "Palette Path", "none"), "none");
    EXPECT_EQ(profile.GetInt("Preferences", "Skip Intro", 0), 1);
    profile.WriteInt("Preferences", "Skip Intro", 0);
  }
  // A second run keeps the user's changes.
  ASSERT_EQ(RunCommandLine(5, argv, out, err), 0);
  QSettingsProfile again(ini);
  EXPECT_EQ(again.GetInt("Preferences", "Skip Intro", 1), 0);
}
