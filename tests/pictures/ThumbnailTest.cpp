#include "pictures/Thumbnail.h"

#include <gtest/gtest.h>

#include "WorkshopPictures.h"
#include "support/TempDir.h"

namespace kestavel {
namespace {

bool IsWhite(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}

// The picture is fitted whole and centred; the rest of the thumbnail is white.
TEST(ThumbnailTest, APictureIsFittedWholeAndCentredOnWhite) {
    test::TempDir dir;
    struct Case {
        int width;
        int height;
        QPoint white;    // a point outside the fitted picture, or none
        QPoint picture;  // a point inside it
    };
    const Case cases[] = {
        {1920, 1080, {-1, -1}, {2, 2}},    // the thumbnail's own shape fills it
        {1080, 1920, {10, 54}, {96, 54}},  // tall: bands left and right
        {1920, 400, {96, 10}, {96, 54}},   // wide: bands above and below
        {96, 54, {-1, -1}, {190, 106}},    // small: enlarged to fill it
    };
    for (const Case& c : cases) {
        const std::string path =
            dir.write(std::to_string(c.width) + "x" + std::to_string(c.height) + ".jpg",
                      workshop::MakeJpeg(c.width, c.height, 7));
        const QImage thumbnail = MakeThumbnail(path);
        ASSERT_EQ(thumbnail.size(), kThumbnailSize);
        if (c.white.x() >= 0) {
            EXPECT_TRUE(IsWhite(thumbnail, c.white.x(), c.white.y())) << path;
        }
        EXPECT_FALSE(IsWhite(thumbnail, c.picture.x(), c.picture.y())) << path;
        // Centred: the bands on either side are alike.
        EXPECT_EQ(IsWhite(thumbnail, 0, 54), IsWhite(thumbnail, 191, 54)) << path;
        EXPECT_EQ(IsWhite(thumbnail, 96, 0), IsWhite(thumbnail, 96, 107)) << path;
    }
}

TEST(ThumbnailTest, WhatCannotBeDecodedGivesAWhiteThumbnail) {
    test::TempDir dir;
    const std::string jpeg = workshop::MakeJpeg(640, 360, 3);
    for (const std::string& path :
         {dir.write("text.jpg", "<html>404</html>"), dir.write("cut.jpg", jpeg.substr(0, 20)),
          dir.write("empty.jpg", ""), dir.file("missing.jpg")}) {
        const QImage thumbnail = MakeThumbnail(path);
        ASSERT_EQ(thumbnail.size(), kThumbnailSize) << path;
        for (int y = 0; y < thumbnail.height(); y += 9) {
            for (int x = 0; x < thumbnail.width(); x += 16) {
                ASSERT_TRUE(IsWhite(thumbnail, x, y)) << path << " " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace kestavel
