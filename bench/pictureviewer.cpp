// The picture viewer on a 1920 x 1080 window going through 4000 x 6000
// pictures: the next picture when it was decoded ahead (beside a 16 ms
// frame), and a picture far off that was not (beside a bare decode of that
// file, shrunk by DCT scaling to the size it shows at).

#include "gui/views/pictureviewer.h"

#include "app/appcontext.h"
#include "benchmonth.h"
#include "benchsupport.h"
#include "catalogue/monthlyartlist.h"
#include "demosite/jpegencoder.h"
#include "guibenchsupport.h"
#include "platform/jpegdecode.h"
#include "platform/scriptedprompt.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace zob;
using namespace zob::bench;

namespace {

constexpr int pictureCount = 24;
const QSize windowSize(1920, 1080);
// 4000 x 6000 fitted into the window.
const QSize shownSize(720, 1080);

} // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QApplication application(argc, argv);
    const Workspace workspace("pictureviewer");
    const fs::path iniPath = workspace.root() / "ZObrowser.ini";
    std::ofstream(iniPath) << "[env]\nlocal=" << (workspace.root() / "Zel-Ora").string() << "\n";
    writeBenchMonth(iniPath, 2008, 3, 1);
    ScriptedPrompt prompt{PromptAnswer::Ok};
    AppContext context(iniPath, prompt);
    const auto list = std::make_shared<monthlyArtList>(context.loadedArchives, 2008, 3);
    list->load();
    const SeriesPtr series = list->item(0);
    series->photoCount = pictureCount;
    const std::string bytes = demosite::makeJpeg({4000, 6000}, 0x5EED'0002ull);
    for (int n = 1; n <= pictureCount; ++n) {
        const fs::path file = series->localPictureFile(resHigh, n);
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    PictureViewer viewer;
    viewer.resize(windowSize);
    viewer.show();
    viewer.showPictures(series, resHigh, 1);
    const auto shown = [&viewer] {
        processUntil([&viewer] { return !viewer.decoding(); });
        viewer.repaint();
    };
    const auto decodedAhead = [&viewer] {
        processUntil([&viewer] { return !viewer.decodingAhead(); });
    };
    shown();

    std::vector<double> ahead;
    for (int n = 2; n <= 8; ++n) {
        decodedAhead();
        const auto begin = std::chrono::steady_clock::now();
        viewer.next();
        shown();
        ahead.push_back(msSince(begin));
    }
    std::vector<double> far;
    std::vector<double> bare;
    for (const int n : {14, 20, 11}) {
        decodedAhead();
        const auto begin = std::chrono::steady_clock::now();
        viewer.goTo(n);
        shown();
        far.push_back(msSince(begin));
        const auto decodeBegin = std::chrono::steady_clock::now();
        const DecodedImage decoded =
            decodeJpeg(series->localPictureFile(resHigh, n), shownSize.width(), shownSize.height());
        bare.push_back(msSince(decodeBegin));
    }

    std::printf("4000 x 6000 pictures on a %d x %d window (%zu MB held, budget %zu MB):\n",
                windowSize.width(), windowSize.height(), viewer.heldBytes() >> 20,
                PictureViewer::memoryBudget >> 20);
    std::printf("  next picture decoded ahead: median %.1f ms, slowest %.1f ms "
                "(goal: under 16 ms)\n",
                median(ahead), *std::max_element(ahead.begin(), ahead.end()));
    std::printf("  a picture not decoded ahead %.1f ms, its bare DCT-scaled decode %.1f ms: "
                "ratio %.2f (goal: at most 1.2)\n",
                median(far), median(bare), median(far) / median(bare));
    return 0;
}
