// "图片选择" with 76 picked rows whose items each have a 1920 × 1080 JPEG preview: the fill of the
// real picture window, offscreen, with real event pumps, compared in the same run with only
// decoding the same files with QImageReader at the thumbnail's scale.
#include <QApplication>
#include <QImageReader>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "WorkshopPictures.h"
#include "catalogue/ItemFolder.h"
#include "pictures/PictureFill.h"
#include "pictures/Thumbnail.h"
#include "platform/FileSystem.h"
#include "support/FakePorts.h"
#include "support/TempDir.h"
#include "ui/PictureListView.h"
#include "ui/PictureWindow.h"
#include "ui/QtEventPump.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPictures = 76;
constexpr int kRounds = 9;

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// The baseline: every picture decoded at the thumbnail's size and nothing else. The result
// depends on every picture, so no decoding can be left out.
qint64 DecodeOnly(const std::vector<std::string>& paths) {
    qint64 total = 0;
    for (const std::string& path : paths) {
        QImageReader reader(QString::fromStdString(path));
        reader.setScaledSize(kestavel::kThumbnailSize);
        total += reader.read().pixel(96, 54);
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kestavel::test::TempDir dir;
    const std::string workshop = dir.makeFolder("workshop");

    kestavel::QtEventPump pump;
    kestavel::test::FakeWindow source;
    source.workshopFolder.value = workshop;
    source.context.services.pump = &pump;
    source.progressBox.keepsHistory = false;
    std::vector<std::string> paths;
    for (int n = 1; n <= kPictures; ++n) {
        const std::string code = std::to_string(3000000000LL + n);
        dir.makeFolder("workshop/" + code);
        const auto id = kestavel::GbkText::fromAscii(code);
        paths.push_back(kestavel::ItemFolder(workshop, id).preview());
        kestavel::WriteWholeFile(paths.back(), kestavel::workshop::MakeJpeg(1920, 1080, 7919u * n));
        source.list.appendRow({kestavel::GbkText::fromAscii(std::to_string(n)), id});
        source.list.setPicked(n - 1, true);
    }

    kestavel::CommandHost mainHost;
    kestavel::PictureWindow window(
        {source.context.settings, {&source.dialogs, &pump, &source.shell}, &mainHost});
    window.show();
    const kestavel::PictureWindowOpener open = [&window]() -> kestavel::PictureView& {
        return window;
    };

    std::vector<double> fills;
    std::vector<double> decodes;
    std::vector<double> ratios;
    qint64 checksum = 0;
    for (int round = 0; round < kRounds; ++round) {
        // In turns, so neither side always finds the files freshly cached.
        const bool fillFirst = round % 2 == 0;
        double fill = 0;
        double decode = 0;
        for (int side = 0; side < 2; ++side) {
            const auto start = Clock::now();
            if ((side == 0) == fillFirst) {
                kestavel::PictureFill(source.context, open);
                QCoreApplication::processEvents();  // the window shows the new pictures
                fill = Milliseconds(start);
            } else {
                checksum += DecodeOnly(paths);
                decode = Milliseconds(start);
            }
        }
        if (window.list()->rowCount() != kPictures) {
            std::fprintf(stderr, "the fill made %d pictures, not %d\n", window.list()->rowCount(),
                         kPictures);
            return 1;
        }
        fills.push_back(fill);
        decodes.push_back(decode);
        ratios.push_back(fill / decode);
    }
    std::sort(fills.begin(), fills.end());
    std::sort(decodes.begin(), decodes.end());
    std::sort(ratios.begin(), ratios.end());
    std::printf("pictures: %d of 1920 x 1080 (checksum %lld)\n", kPictures,
                static_cast<long long>(checksum));
    std::printf("picture fill: %.1f ms (median); decoding at the thumbnail's scale: %.1f ms\n",
                fills[fills.size() / 2], decodes[decodes.size() / 2]);
    std::printf("ratio (median of the rounds' own ratios): %.2f (target at most 1.5)\n",
                ratios[ratios.size() / 2]);
    return 0;
}
