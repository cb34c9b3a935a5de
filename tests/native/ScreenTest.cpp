// The portable arithmetic behind Screen: design-to-pixel scaling, the fit to
// a work area, the forced-scale value, and the position file's text.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "lib/Placement.h"
#include "lib/Screen.h"

namespace {

using zobrel::Placement;
using zobrel::Rect;
using zobrel::Scale;

Scale Make(Rect rcDesign, int nClientW, int nClientH)
{
    Scale scale;
    scale.m_rcDesign = rcDesign;
    scale.m_nClientW = nClientW;
    scale.m_nClientH = nClientH;
    return scale;
}

TEST(Scale, IdentityUntilSized)
{
    const Scale scale;
    const Rect rc = {10, 390, 580, 710};
    EXPECT_EQ(scale.Map(rc), rc);
    EXPECT_EQ(scale.Font(20), 20);
    EXPECT_EQ(scale.Mapfine(scale.Unmapfine(rc)), rc);
}

TEST(Scale, MapsEachAxisByItsOwnFactor)
{
    // 720 x 755 onto 1080 x 1510: 1.5 across, 2 down; the design origin
    // lands on the client origin.
    const Scale scale = Make({100, 50, 820, 805}, 1080, 1510);
    EXPECT_EQ(scale.Map({100, 50, 820, 805}), (Rect{0, 0, 1080, 1510}));
    EXPECT_EQ(scale.Map({110, 60, 120, 70}), (Rect{15, 20, 30, 40}));
    // Halves round up, on both sides of the origin alike.
    const Scale half = Make({0, 0, 2, 2}, 1, 1);
    EXPECT_EQ(half.Map({1, 3, -1, -3}), (Rect{1, 2, 0, -1}));
}

TEST(Scale, AdjacentRectanglesNeitherGapNorOverlap)
{
    // A row split into a square and the rest, and rows stacked with no space:
    // at any scale the shared edges must stay one pixel line.
    for (int nClientH = 300; nClientH <= 1400; nClientH += 7) {
        const int nClientW = nClientH * 720 / 755 + 3;
        const Scale scale = Make({0, 0, 720, 755}, nClientW, nClientH);
        for (int nTop = 10; nTop < 700; nTop += 23) {
            const Rect rcRow = scale.Map({20, nTop, 320, nTop + 23});
            const Rect rcNext = scale.Map({20, nTop + 23, 320, nTop + 46});
            ASSERT_EQ(rcRow.bottom, rcNext.top) << nClientH;
            const Rect rcSquare = scale.Map({20, nTop, 43, nTop + 23});
            const Rect rcLabel = scale.Map({43, nTop, 320, nTop + 23});
            ASSERT_EQ(rcSquare.right, rcLabel.left) << nClientH;
            ASSERT_EQ(rcSquare.left, rcRow.left);
            ASSERT_EQ(rcLabel.right, rcRow.right);
        }
    }
}

TEST(Scale, PixelsReadBackMapOntoTheSamePixels)
{
    // Resize_children records a child's design rectangle from its pixels;
    // at an unchanged size that rectangle must give the same pixels, also
    // where several design units share one pixel.
    for (int nClientH : {377, 500, 755, 868, 1510}) {
        const Scale scale = Make({0, 0, 720, 755}, nClientH * 720 / 755, nClientH);
        for (int x = -3; x < 900; x += 5) {
            const Rect rcPixels = {x, x / 2, x + 17, x / 2 + 9};
            ASSERT_EQ(scale.Mapfine(scale.Unmapfine(rcPixels)), rcPixels) << nClientH << " " << x;
        }
    }
}

TEST(Scale, FontFollowsTheSmallerFactorAndKeepsItsSign)
{
    const Scale wide = Make({0, 0, 100, 100}, 300, 150);  // 3 across, 1.5 down
    EXPECT_EQ(wide.Font(20), 30);
    EXPECT_EQ(wide.Font(-20), -30);
    const Scale tall = Make({0, 0, 100, 100}, 50, 400);
    EXPECT_EQ(tall.Font(20), 10);
    const Scale tiny = Make({0, 0, 1000, 1000}, 10, 10);
    EXPECT_EQ(tiny.Font(20), 1);
    EXPECT_EQ(tiny.Font(-20), -1);
    EXPECT_EQ(tiny.Font(0), 0);
}

TEST(Scale, ScreenObjectsShareOneScale)
{
    zobrel::Scale& shared = zobrel::Screen::Scaling();
    const Scale saved = shared;
    shared = Make({0, 0, 720, 755}, 360, 378);
    zobrel::Screen other;
    Rect rc = {10, 390, 580, 710};
    other.Screenadjust(rc);
    EXPECT_EQ(rc, (Rect{5, 195, 290, 355}));
    int nHeight = 20;
    other.Fontadjust(&nHeight);
    EXPECT_EQ(nHeight, 10);
    other.Fontadjust(nullptr);
    shared = saved;
}

TEST(Fitclient, FillsTheWorkAreaShareWithTheDesignAspect)
{
    struct Case {
        int nWorkW, nWorkH, nFrameW, nFrameH;
        int nClientW, nClientH;
    };
    const Case cases[] = {
        // 85 % of the height, width by the 720:755 aspect.
        {1280, 1024, 16, 39, 830, 870},
        {1920, 1040, 16, 39, 843, 884},
        {3840, 2160, 32, 60, 1751, 1836},
        // A wide frame on a low screen: the height shrinks to what is left.
        {1280, 600, 16, 100, 477, 500},
        // A narrow portrait work area: the width limits, the aspect stays.
        {600, 1200, 20, 40, 580, 608},
    };
    for (const Case& c : cases) {
        int nClientW = 0;
        int nClientH = 0;
        zobrel::Fitclient({0, 0, 720, 755}, c.nWorkW, c.nWorkH, c.nFrameW, c.nFrameH, nClientW, nClientH);
        EXPECT_EQ(nClientW, c.nClientW) << c.nWorkW << "x" << c.nWorkH;
        EXPECT_EQ(nClientH, c.nClientH) << c.nWorkW << "x" << c.nWorkH;
        EXPECT_LE(nClientW + c.nFrameW, c.nWorkW);
        EXPECT_LE(nClientH + c.nFrameH, c.nWorkH);
    }
    int nClientW = -1;
    int nClientH = -1;
    zobrel::Fitclient({0, 0, 0, 755}, 1280, 1024, 16, 39, nClientW, nClientH);
    EXPECT_EQ(nClientW, 0);
    EXPECT_EQ(nClientH, 0);
}

TEST(Parsescale, AcceptsPlainDecimalsInRange)
{
    const std::pair<const char*, int> good[] = {{"1", 1000},   {"0.75", 750},   {"1.5", 1500}, {"0.1", 100},
                                                {"10", 10000}, {"2.125", 2125}, {".5", 500},   {"03", 3000}};
    for (const auto& [pszValue, nExpected] : good) {
        std::int32_t nPermille = 0;
        EXPECT_TRUE(zobrel::Parsescale(pszValue, nPermille)) << pszValue;
        EXPECT_EQ(nPermille, nExpected) << pszValue;
    }
    const char* bad[] = {"",    "0",  "0.05", "10.001", "11",  "100", "-1", "1.",
                         "1,5", " 1", "1 ",   "1.2345", "abc", "1e2", "+1", "..5"};
    for (const char* pszValue : bad) {
        std::int32_t nPermille = 42;
        EXPECT_FALSE(zobrel::Parsescale(pszValue, nPermille)) << '"' << pszValue << '"';
        EXPECT_EQ(nPermille, 42) << pszValue;
    }
    std::int32_t nPermille = 42;
    EXPECT_FALSE(zobrel::Parsescale(nullptr, nPermille));
}

TEST(Textfit, KeepsTheTightestRatioOverTextsAndAxes)
{
    zobrel::Textfit fit;
    EXPECT_TRUE(fit.Fits()) << "nothing measured";
    fit.Add(50, 100);
    fit.Add(0, 0);  // an empty text needs no room
    EXPECT_TRUE(fit.Fits());
    fit.Add(30, 40);
    EXPECT_TRUE(fit.Fits());
    fit.Add(60, 45);  // 0.75
    fit.Add(20, 19);  // 0.95: looser, kept out
    EXPECT_FALSE(fit.Fits());
    EXPECT_EQ(fit.m_nRoom * 4, fit.m_nNeed * 3);
    fit.Add(10, -5);  // no room at all
    EXPECT_EQ(fit.m_nRoom, 0);
    EXPECT_FALSE(fit.Fits());
}

// Texts whose extents grow with the height, as a font would give them:
// nPerTen pixels of width per ten pixels of height, plus a fixed part.
struct Fakefont {
    std::vector<std::pair<int, int>> texts;  // width per ten pixels of height, room
    int nOffset = 0;
    std::map<int, int> quirks;  // extra width at some heights (hinting)
    mutable std::vector<int> measured;

    zobrel::Textfit operator()(int nHeight) const
    {
        measured.push_back(nHeight);
        const auto it = quirks.find(nHeight);
        const int nQuirk = it == quirks.end() ? 0 : it->second;
        zobrel::Textfit fit;
        for (const auto& [nPerTen, nRoom] : texts) {
            fit.Add((nPerTen * nHeight + 9) / 10 + nOffset + nQuirk, nRoom);
            fit.Add(nHeight, 25);  // the line's height against a room 25 high
        }
        return fit;
    }

    // The largest height at or below nStart that fits, by trying them all.
    int Best(int nStart, int nMin) const
    {
        for (int h = nStart; h > nMin; --h)
            if ((*this)(h).Fits())
                return h;
        return nMin;
    }
};

TEST(Fitheight, FindsTheLargestFittingHeightInFewMeasurements)
{
    const struct {
        const char* pszName;
        Fakefont font;
        int nStart;
    } cases[] = {
        {"fits at once", {{{40, 100}, {60, 300}}, 0, {}, {}}, 20},
        {"one text too wide", {{{40, 100}, {45, 55}}, 0, {}, {}}, 20},
        {"large screen", {{{43, 130}, {210, 672}}, 0, {}, {}}, 48},
        {"too tall, not too wide", {{{10, 500}}, 0, {}, {}}, 40},
        // Extents shrink faster than the height: the estimate lands low.
        {"an estimate undershoots", {{{45, 50}}, -10, {}, {}}, 20},
        {"an estimate overshoots", {{{45, 66}}, 6, {}, {}}, 20},
    };
    for (const auto& c : cases) {
        const int nBest = c.font.Best(c.nStart, 6);
        c.font.measured.clear();
        EXPECT_EQ(zobrel::Fitheight(c.nStart, 6, std::cref(c.font)), nBest) << c.pszName;
        EXPECT_LE(c.font.measured.size(), 5u) << c.pszName;
    }
}

TEST(Fitheight, ReturnsAMeasuredFitWhenHintingBreaksTheOrder)
{
    // 11 is hinted wider than 12; 13 and 14 narrower than their neighbours.
    for (const std::map<int, int>& quirks :
         {std::map<int, int>{{11, 9}}, std::map<int, int>{{13, -6}, {14, -6}}, std::map<int, int>{{12, 4}}}) {
        const Fakefont font = {{{45, 55}}, 0, quirks, {}};
        const int nBest = font.Best(20, 6);
        const int nHeight = zobrel::Fitheight(20, 6, std::cref(font));
        EXPECT_TRUE(font(nHeight).Fits()) << nHeight;
        EXPECT_GE(nHeight, nBest - 2);
        EXPECT_LE(nHeight, nBest);
    }
}

TEST(Fitheight, StopsAtTheSmallestHeight)
{
    const Fakefont none = {{{100, 10}}, 0, {}, {}};
    EXPECT_EQ(zobrel::Fitheight(30, 6, std::cref(none)), 6);
    EXPECT_LE(none.measured.size(), 3u);
    // A start at or below the smallest height is taken as it is, unmeasured.
    none.measured.clear();
    EXPECT_EQ(zobrel::Fitheight(5, 6, std::cref(none)), 5);
    EXPECT_EQ(zobrel::Fitheight(6, 6, std::cref(none)), 6);
    EXPECT_TRUE(none.measured.empty());
    // No height below 1, whatever the smallest asked for.
    EXPECT_EQ(zobrel::Fitheight(9, -4, std::cref(none)), 1);
}

bool Parse(const std::string& strText, Placement& placement)
{
    return zobrel::Parseplacement(strText.data(), strText.size(), placement);
}

TEST(Placement, FormatIsTheDocumentedText)
{
    Placement placement;
    placement.m_rcNormal = {280, 96, 1000, 928};
    placement.m_bMaximized = true;
    EXPECT_EQ(zobrel::Formatplacement(placement), "zobrel-placement 1\r\nnormal 280 96 1000 928\r\nmaximized 1\r\n");
}

TEST(Placement, RoundTrips)
{
    const Placement placements[] = {
        {{280, 96, 1000, 928}, false},
        {{-1800, -20, -1000, 700}, true},  // a monitor left of the primary one
        {{0, 0, 32, 32}, false},
        {{99000, 99000, 100000, 100000}, false},
    };
    for (const Placement& original : placements) {
        Placement parsed;
        ASSERT_TRUE(Parse(zobrel::Formatplacement(original), parsed)) << zobrel::Formatplacement(original);
        EXPECT_EQ(parsed.m_rcNormal, original.m_rcNormal);
        EXPECT_EQ(parsed.m_bMaximized, original.m_bMaximized);
    }
}

TEST(Placement, ReadsLinesEndedByLfOrNothing)
{
    for (const char* pszText : {"zobrel-placement 1\nnormal 1 2 301 402\nmaximized 0\n",
                                "zobrel-placement 1\r\nnormal 1 2 301 402\r\nmaximized 0",
                                "zobrel-placement 1\r\nnormal  1 2  301 402 \r\nmaximized 0\r\n"}) {
        Placement placement;
        ASSERT_TRUE(Parse(pszText, placement)) << pszText;
        EXPECT_EQ(placement.m_rcNormal, (Rect{1, 2, 301, 402}));
        EXPECT_FALSE(placement.m_bMaximized);
    }
}

TEST(Placement, RejectsAnythingElseWhole)
{
    const std::string strGood = "zobrel-placement 1\r\nnormal 1 2 301 402\r\nmaximized 0\r\n";
    const std::string bad[] = {
        "",
        "\r\n",
        "zobrel-placement 1\r\n",
        "zobrel-placement 2\r\nnormal 1 2 301 402\r\nmaximized 0\r\n",
        "Zobrel-placement 1\r\nnormal 1 2 301 402\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal 1 2 301\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal 1 2 301 402 5\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nmaximized 0\r\nnormal 1 2 301 402\r\n",
        "zobrel-placement 1\r\nnormal 1 2 301 402\r\n",
        strGood + "extra\r\n",
        strGood + "\r\n",
        "zobrel-placement 1\r\nnormal 1 2 301 402\r\nmaximized 2\r\n",
        "zobrel-placement 1\r\nnormal 1 2 301 402\r\nmaximized yes\r\n",
        "zobrel-placement 1\r\nnormal 1 2 3x1 402\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal +1 2 301 402\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal - 2 301 402\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal 1 2 99999999999 402\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal 1 2 100001 402\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal 301 2 1 402\r\nmaximized 0\r\n",       // right before left
        "zobrel-placement 1\r\nnormal 1 2 32 402\r\nmaximized 0\r\n",        // 31 wide
        "zobrel-placement 1\r\nnormal 1 2 301 33\r\nmaximized 0\r\n",        // 31 high
        "zobrel-placement 1\r\nnormal -40000 2 301 402\r\nmaximized 0\r\n",  // wider than any window
        "zobrel-placement 1\rnormal 1 2 301 402\rmaximized 0\r",
        "zobrel-placement 1\r\nnormal\t1 2 301 402\r\nmaximized 0\r\n",
        std::string("zobrel-placement 1\r\nnormal 1 2 301 402\r\nmaximized 0\r\n\0", 54),
        std::string("zobrel-placement 1\r\nnormal 1 2 3") + '\0' + "01 402\r\nmaximized 0\r\n",
        "zobrel-placement 1\r\nnormal 1 2 301 402\r\nmaximized 0\xA0\r\n",
        strGood + std::string(zobrel::PLACEMENT_MAX_BYTES, ' '),
    };
    for (const std::string& strText : bad) {
        Placement placement;
        placement.m_rcNormal = {7, 7, 7, 7};
        placement.m_bMaximized = true;
        EXPECT_FALSE(Parse(strText, placement)) << '"' << strText << '"';
        EXPECT_EQ(placement.m_rcNormal, (Rect{7, 7, 7, 7}));
        EXPECT_TRUE(placement.m_bMaximized);
    }
    Placement placement;
    EXPECT_FALSE(zobrel::Parseplacement(nullptr, 10, placement));
}

}  // namespace
