#include "conditions/EquationsScroll.h"

#include <gtest/gtest.h>

#include <vector>

#include "ConditionFixture.h"
#include "canvas/ScrollBars.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationsCanvas.h"

namespace mivora::testing {
namespace {

using namespace Qt::Literals::StringLiterals;

// The Equations window at 12000 × 9100: its view is 8780 high (less the chrome) and 11980
// wide. At load the root panel spans (600, 600)–(9852, 4080), the SQL frame
// (2280, 4920)–(7692, 5892).
class EquationsScrollTest : public ConditionFixture {
 protected:
  EquationsScrollTest() {
    ws.equations_window.width = 12000;
    ws.equations_window.height = 9100;
    const int t = AddTable(u"T"_s, {u"C"_s}, {{u"1"_s}, {u"2"_s}});
    CreateEquationBox(ws, t, 1, 1);
    CreateEquationBox(ws, t, 2, 1);
  }
  Conditions& c() { return ws.conditions; }
  const CanvasBars& bars() { return ws.conditions.bars; }

  // Drags a slider by `by` twips with the left button and releases it.
  void DragSlider(CanvasBarPart part, float by) {
    const bool v = part == CanvasBarPart::kVSlider;
    EquationsBarMouseDown(ws, part, MouseEvent{kLeftButton, 0, 10, 10});
    EquationsBarMouseMove(ws, part,
                          MouseEvent{kLeftButton, 0, v ? 10 : 10 + by, v ? 10 + by : 10});
    EquationsBarMouseUp(ws, part, MouseEvent{kLeftButton, 0, 10, 10});
  }
  void Click(CanvasBarPart part) {
    EquationsBarMouseDown(ws, part, MouseEvent{kLeftButton, 0, 5, 5});
    EquationsBarMouseUp(ws, part, MouseEvent{kLeftButton, 0, 5, 5});
  }
};

TEST_F(EquationsScrollTest, ExtentShowsAndHidesTheBars) {
  struct Case {
    const char* what;
    float root_left, root_top, sql_top;
    bool v_shown, h_shown;
  } cases[] = {
      {"all fits", 600, 600, 4920, false, false},
      {"500 room below, exactly", 600, 600, 8780 - 500 - 972, false, false},
      {"one twip less room below", 600, 600, 8780 - 500 - 972 + 1, true, false},
      {"an element beyond the bottom", 600, 600, 9000, true, false},
      {"top 500, exactly", 600, 500, 4920, false, false},
      {"negative top", 600, -300, 4920, true, false},
      {"negative left", -100, 600, 4920, false, true},
      {"beyond the right", 3000, 600, 4920, false, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    c().panels[0].kakko.rect.left = k.root_left;
    c().panels[0].kakko.rect.top = k.root_top;
    c().cnd_equation.rect.top = k.sql_top;
    UpdateEquationsScrollBars(ws);
    EXPECT_EQ(bars().vbar.visible, k.v_shown);
    EXPECT_EQ(bars().hbar.visible, k.h_shown);
  }
}

TEST_F(EquationsScrollTest, SlidersAndArrowsMoveEveryCanvasElementAlike) {
  struct Case {
    const char* what;
    float root_left, root_top, sql_top;
    CanvasBarPart slider;
    float by;             // the drag
    bool down;            // whether the elements move down (right)
    CanvasBarPart arrow;  // then clicked: the elements move up (left)
  } cases[] = {
      {"beyond the bottom, slider down", 600, 600, 12000, CanvasBarPart::kVSlider, 400, false,
       CanvasBarPart::kDownArrow},
      {"negative top, slider up", 600, -2000, 4920, CanvasBarPart::kVSlider, -5000, true,
       CanvasBarPart::kDownArrow},
      {"beyond the right, slider right", 9000, 600, 4920, CanvasBarPart::kHSlider, 400, false,
       CanvasBarPart::kRightArrow},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    c().panels[0].kakko.rect.left = k.root_left;
    c().panels[0].kakko.rect.top = k.root_top;
    c().cnd_equation.rect.top = k.sql_top;
    c().operator_palette.visible = false;
    UpdateEquationsScrollBars(ws);
    const bool v = k.slider == CanvasBarPart::kVSlider;
    ASSERT_TRUE(v ? bars().vbar.visible : bars().hbar.visible);
    const std::vector<TwipRect> before = EquationsCanvasElements(ws);
    const TwipRect box_before = c().boxes[1].txt_hndl.rect;  // inside the root panel
    const TwipRect palette_before = c().operator_palette.rect;  // hidden: stays

    DragSlider(k.slider, k.by);
    const std::vector<TwipRect> after = EquationsCanvasElements(ws);
    ASSERT_EQ(after.size(), before.size());
    const float d = v ? after[0].top - before[0].top : after[0].left - before[0].left;
    EXPECT_EQ(d > 0, k.down) << d;
    EXPECT_NE(d, 0);
    for (std::size_t i = 0; i < after.size(); ++i) {
      EXPECT_FLOAT_EQ(v ? after[i].top - before[i].top : after[i].left - before[i].left, d);
      EXPECT_FLOAT_EQ(v ? after[i].left : after[i].top, v ? before[i].left : before[i].top);
    }
    EXPECT_EQ(c().boxes[1].txt_hndl.rect, box_before);
    EXPECT_EQ(c().operator_palette.rect, palette_before);

    // An arrow step moves them all alike too.
    const float at = v ? after[0].top : after[0].left;
    Click(k.arrow);
    const std::vector<TwipRect> stepped = EquationsCanvasElements(ws);
    const float e = (v ? stepped[0].top : stepped[0].left) - at;
    EXPECT_LT(e, 0);
    for (std::size_t i = 0; i < stepped.size(); ++i)
      EXPECT_FLOAT_EQ(v ? stepped[i].top - after[i].top : stepped[i].left - after[i].left, e);
  }
}

TEST_F(EquationsScrollTest, ASliderAtTheTopPutsTheTopmostElement500Down) {
  c().cnd_equation.rect.top = 12000;
  UpdateEquationsScrollBars(ws);
  ASSERT_TRUE(bars().vbar.visible);
  DragSlider(CanvasBarPart::kVSlider, 700);
  EXPECT_LT(c().panels[0].kakko.rect.top, 0);
  // Far past the top: the slider is clamped to its track.
  DragSlider(CanvasBarPart::kVSlider, -100000);
  EXPECT_NEAR(c().panels[0].kakko.rect.top, 500, 1);
  EXPECT_EQ(c().cnd_equation.rect.top - c().panels[0].kakko.rect.top, 12000 - 600);
  EXPECT_TRUE(bars().vbar.visible);
  // Other buttons do not drag.
  const std::vector<TwipRect> before = EquationsCanvasElements(ws);
  EquationsBarMouseDown(ws, CanvasBarPart::kVSlider, MouseEvent{kRightButton, 0, 10, 10});
  EquationsBarMouseMove(ws, CanvasBarPart::kVSlider, MouseEvent{kRightButton, 0, 10, 900});
  EXPECT_EQ(EquationsCanvasElements(ws), before);
}

TEST_F(EquationsScrollTest, ArrowsDoNothingWhileTheBarIsHidden) {
  UpdateEquationsScrollBars(ws);
  ASSERT_FALSE(bars().vbar.visible);
  const std::vector<TwipRect> before = EquationsCanvasElements(ws);
  Click(CanvasBarPart::kDownArrow);
  Click(CanvasBarPart::kRightArrow);
  EXPECT_EQ(EquationsCanvasElements(ws), before);
}

}  // namespace
}  // namespace mivora::testing
