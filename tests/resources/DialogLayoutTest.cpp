// Layout rules of the six pages: same size, nothing outside the margins, no visible control on top of
// another, group boxes around whole controls, the shared button row in one place.
#include "ProgramResources.h"

#include <algorithm>
#include <string>

namespace wlan::rc::test {
namespace {

constexpr int kMargin = 7;
constexpr int kClosedComboHeight = 12; // a combo box's rectangle includes its dropped list

Rect shownRect(const DialogControl& c) {
    Rect r = c.rect;
    if (c.className == "ComboBox") {
        r.cy = std::min(r.cy, kClosedComboHeight);
    }
    return r;
}

bool isGroupBox(const DialogControl& c) {
    return c.className == "Button" && c.kind() == 0x7;
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

bool contains(const Rect& outer, const Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

std::string describe(const DialogControl& c) {
    return c.className + " " + std::to_string(c.id) + " \"" + c.text.substr(0, 24) + "\"";
}

TEST(DialogLayout, PagesHaveTheSameSizeAndControlsStayInsideTheMargins) {
    const Dialog* first = programResources().dialog(kPageIds[0]);
    ASSERT_NE(first, nullptr);
    for (int id : kPageIds) {
        const Dialog* page = programResources().dialog(id);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->rect.cx, first->rect.cx) << id;
        EXPECT_EQ(page->rect.cy, first->rect.cy) << id;
        for (const DialogControl& c : page->controls) {
            Rect r = shownRect(c);
            EXPECT_GE(r.x, kMargin) << id << ": " << describe(c);
            EXPECT_GE(r.y, kMargin) << id << ": " << describe(c);
            EXPECT_LE(r.x + r.cx, page->rect.cx - kMargin) << id << ": " << describe(c);
            EXPECT_LE(r.y + r.cy, page->rect.cy - kMargin) << id << ": " << describe(c);
        }
    }
}

TEST(DialogLayout, VisibleControlsDoNotOverlapAndGroupBoxesHoldWholeControls) {
    for (int id : kPageIds) {
        const Dialog* page = programResources().dialog(id);
        ASSERT_NE(page, nullptr);
        for (std::size_t i = 0; i < page->controls.size(); ++i) {
            for (std::size_t j = i + 1; j < page->controls.size(); ++j) {
                const DialogControl& a = page->controls[i];
                const DialogControl& b = page->controls[j];
                if (!a.visible() || !b.visible() || !overlaps(shownRect(a), shownRect(b))) {
                    continue;
                }
                bool framed = (isGroupBox(a) && contains(a.rect, shownRect(b))) ||
                              (isGroupBox(b) && contains(b.rect, shownRect(a)));
                EXPECT_TRUE(framed) << id << ": " << describe(a) << " and " << describe(b) << " overlap";
            }
        }
    }
}

TEST(DialogLayout, SettingsButtonsShareOneRowAtTheBottomRight) {
    // Restore Defaults, Undo Changes, Apply Changes of the Configuration, Encryption and Advanced pages.
    const int rows[][4] = {{182, 1116, 1117, 1118}, {184, 1125, 1126, 1127}, {191, 1140, 1142, 1144}};
    const Rect* reference = nullptr;
    for (const auto& row : rows) {
        const Dialog* page = programResources().dialog(row[0]);
        ASSERT_NE(page, nullptr);
        const DialogControl* apply = page->control(row[3]);
        ASSERT_NE(apply, nullptr);
        EXPECT_EQ(apply->rect.x + apply->rect.cx, page->rect.cx - kMargin) << row[0];
        EXPECT_EQ(apply->rect.y + apply->rect.cy, page->rect.cy - kMargin) << row[0];
        for (int button = 1; button < 4; ++button) {
            const DialogControl* c = page->control(row[button]);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->rect.y, apply->rect.y) << row[0];
            EXPECT_EQ(c->rect.cy, apply->rect.cy) << row[0];
            if (reference == nullptr) {
                reference = &c->rect;
            }
        }
        EXPECT_EQ(page->control(row[1])->rect.x, reference->x) << "same places on every page";
    }
}

TEST(DialogLayout, KeyBoxesOfBothWidthsShareTheirPlaces) {
    const Dialog* page = programResources().dialog(184);
    ASSERT_NE(page, nullptr);
    const std::pair<int, int> keys[] = {{1031, 1136}, {1037, 1137}, {1043, 1138}, {1048, 1139}};
    for (const auto& [short64, long128] : keys) {
        const DialogControl* a = page->control(short64);
        const DialogControl* b = page->control(long128);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(a->rect.x, b->rect.x);
        EXPECT_EQ(a->rect.y, b->rect.y);
        EXPECT_GT(b->rect.cx, a->rect.cx) << "26 digits need the wider box";
        EXPECT_NE(a->visible(), b->visible()) << "one set shown at a time";
    }
}

} // namespace
} // namespace wlan::rc::test
