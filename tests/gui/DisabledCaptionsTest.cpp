#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "gui/StartedProgram.h"
#include "support/Artifacts.h"

namespace wyk {
namespace {

using testing::StartedProgram;

double Luminance(const QColor& c) {
  const auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// With adapter type 1 the unusable scale buttons, and before a recording Start and Stop, are
// disabled; their captions stay readable: dark grey with a white emboss.
TEST(DisabledCaptions, AreDarkGreyOverAWhiteEmboss) {
  StartedProgram program("[COM]\nTyp=1\n");
  TForm1& f = program.Main();
  f.show();
  const QImage shot = f.grab().toImage();
  shot.save(testing::ArtifactPath("disabled-captions.png"));
  const std::pair<const char*, QWidget*> cases[] = {
      {"10mV", f.SpeedButton(1)}, {"10V", f.SpeedButton(10)}, {"AC", f.SpeedButton(11)},
      {"GND", f.SpeedButton(12)}, {"0,2ms", f.vd(1)},         {"Start", f.StartButton},
      {"Stop", f.StopButton},
  };
  for (const auto& [caption, button] : cases) {
    ASSERT_FALSE(button->isEnabled()) << caption;
    const QRect area(button->mapTo(&f, QPoint(0, 0)), button->size());
    // The caption's darkest pixel against the button's face, its commonest colour.
    std::map<QRgb, int> counts;
    QColor darkest(Qt::white);
    bool emboss = false;
    for (int y = area.top() + 2; y < area.bottom() - 1; ++y)
      for (int x = area.left() + 2; x < area.right() - 1; ++x) {
        const QColor c = shot.pixelColor(x, y);
        ++counts[c.rgb()];
        if (Luminance(c) < Luminance(darkest)) darkest = c;
        emboss = emboss || c == QColor(Qt::white);
      }
    const QColor face(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                        return a.second < b.second;
                      })->first);
    EXPECT_EQ(darkest, QColor(0x80, 0x80, 0x80)) << caption;
    EXPECT_GE(Contrast(darkest, face), 2.0) << caption << " on " << face.name().toStdString();
    EXPECT_TRUE(emboss) << caption;
  }
}

}  // namespace
}  // namespace wyk
