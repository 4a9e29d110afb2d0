// The bar's layout at the DPIs users run: a rounding slip that makes parts touch or overlap,
// leave the bar or their place between the borders, sit off-centre, differ in size, or lets
// an image strip's two halves run into each other; and a part left unscaled.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/bar_layout.h"

namespace orv {
namespace {

TEST(BarLayout, PartsStayApartInOrderCentredAndScaledAtEveryDpi) {
    const BarLayout base = LayOutBar(96);
    for (const int dpi : {96, 110, 120, 125, 144, 168, 192, 240, 288}) {
        const BarLayout l = LayOutBar(dpi);
        std::vector<BarBox> row(std::begin(l.desk), std::end(l.desk));
        row.insert(row.end(), {l.snap, l.video, l.setting, l.hide, l.quit});
        for (size_t i = 0; i < row.size(); ++i) {
            const BarBox& b = row[i];
            EXPECT_TRUE(b.top >= l.topBorder.Bottom() && b.Bottom() <= l.bottomBorder.top) << dpi << " part " << i;
            EXPECT_LE(std::abs(b.top - (l.height - b.Bottom())), 1) << dpi << " part " << i << " off-centre";
            EXPECT_GT(b.left, i ? row[i - 1].Right() : l.grip.Right() - 1) << dpi << " part " << i;
            EXPECT_TRUE(b.width == row[i < 9 ? 0 : 9].width && b.height == row[i < 9 ? 0 : 9].height) << dpi << " " << i;
        }
        EXPECT_TRUE(l.quit.Right() < l.edge[1].left && l.edge[1].Right() == l.width) << dpi;
        EXPECT_TRUE(l.desk[5].Right() < l.separator[0] && l.separator[0] < l.snap.left) << dpi;
        EXPECT_TRUE(l.setting.Right() < l.separator[1] && l.separator[1] < l.hide.left) << dpi;
        EXPECT_TRUE(l.quit.width <= l.pressedOffset && l.pressedOffset + l.quit.width <= l.stripWidth &&
                    l.stripHeight == l.quit.height) << dpi;
        EXPECT_NEAR(static_cast<double>(l.width) / base.width, dpi / 96.0, 0.03) << dpi;
        EXPECT_NEAR(static_cast<double>(l.iconSize) / base.iconSize, dpi / 96.0, 0.04) << dpi;
    }
}

}  // namespace
}  // namespace orv
