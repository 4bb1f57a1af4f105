// The flat check box and the focus rectangle, on pixels.
#include "toolkit/OwnerDraw.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// `image` as rows of characters: one for each colour in `legend`, '?' for any other.
std::vector<std::string> Picture(const QImage& image, const QRect& area,
                                 const std::vector<std::pair<char, QRgb>>& legend) {
  std::vector<std::string> rows;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    std::string row;
    for (int x = area.left(); x <= area.right(); ++x) {
      char c = '?';
      for (const auto& [symbol, color] : legend)
        if (image.pixel(x, y) == color) c = symbol;
      row += c;
    }
    rows.push_back(row);
  }
  return rows;
}

const QRgb kGrey = qRgb(128, 128, 128), kSilver = qRgb(192, 192, 192), kWhite = qRgb(255, 255, 255),
           kBlack = qRgb(0, 0, 0), kGreen = qRgb(0, 255, 0);

TEST(OwnerDrawTest, CheckBoxInItsThreeLooks) {
  struct Case {
    const char* name;
    bool checked, inactive;
    std::vector<std::string> box;  // g grey, s silver, w white, b black; the mark 7 × 7 in the middle
  };
  const Case cases[] = {
      {"unchecked", false, false, {"gggggggggggggg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg",
                                   "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg",
                                   "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg",
                                   "gwwwwwwwwwwwwg", "gggggggggggggg"}},
      {"checked", true, false, {"gggggggggggggg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg", "gwwwwwwwwbwwwg",
                                "gwwwwwwwbbwwwg", "gwwbwwwbbbwwwg", "gwwbbwbbbwwwwg", "gwwbbbbbwwwwwg",
                                "gwwwbbbwwwwwwg", "gwwwwbwwwwwwwg", "gwwwwwwwwwwwwg", "gwwwwwwwwwwwwg",
                                "gwwwwwwwwwwwwg", "gggggggggggggg"}},
      {"checked, held down", true, true, {"gggggggggggggg", "gssssssssssssg", "gssssssssssssg", "gssssssssgsssg",
                                          "gsssssssggsssg", "gssgsssgggsssg", "gssggsgggssssg", "gssgggggsssssg",
                                          "gsssgggssssssg", "gssssgsssssssg", "gssssssssssssg", "gssssssssssssg",
                                          "gssssssssssssg", "gggggggggggggg"}},
  };
  for (const Case& c : cases) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(kGreen);
    QPainter painter(&image);
    DrawCheckBox(painter, 3, 4, c.checked, c.inactive);
    painter.end();
    const auto legend = std::vector<std::pair<char, QRgb>>{{'g', kGrey}, {'s', kSilver}, {'w', kWhite}, {'b', kBlack}};
    EXPECT_EQ(Picture(image, QRect(3, 4, kCheckBoxSize, kCheckBoxSize), legend), c.box) << c.name;
    // Nothing around the box.
    EXPECT_EQ(Picture(image, QRect(0, 0, 20, 4), {{'.', kGreen}}), std::vector<std::string>(4, std::string(20, '.')))
        << c.name;
    EXPECT_EQ(Picture(image, QRect(17, 4, 3, 16), {{'.', kGreen}}), std::vector<std::string>(16, "..."))
        << c.name;
  }
}

// Every other pixel of the outline, all the way round, and nothing inside or outside it.
TEST(OwnerDrawTest, FocusRectangleIsADottedOutlineInsideItsRectangle) {
  QImage image(12, 7, QImage::Format_RGB32);
  image.fill(kWhite);
  QPainter painter(&image);
  painter.setClipRect(0, 0, 1, 1);  // the outline does not heed an earlier clip
  DrawFocusRect(painter, QRect(1, 1, 10, 5), QColor(0, 0, 128));
  painter.end();
  const std::vector<std::string> expected = {
      "............",
      "..n.n.n.n.n.",
      ".n..........",
      "..........n.",
      ".n..........",
      "..n.n.n.n.n.",
      "............",
  };
  EXPECT_EQ(Picture(image, image.rect(), {{'.', kWhite}, {'n', qRgb(0, 0, 128)}}), expected);
}

}  // namespace
