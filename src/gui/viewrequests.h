#pragma once

#include "gui/views/archiveimageview.h"
#include "gui/views/contentsview.h"
#include "gui/views/listview.h"

namespace zob {

struct MainParts;

// What the three views ask of the window, passed on to the part that knows.
class ViewRequests : public ArchiveImageViewHost, public ListViewHost, public ContentsViewHost {
public:
    explicit ViewRequests(MainParts& parts) : parts_(parts) {}

    // Shared by the views
    ArtListPtr crntArchive() const override;
    bool offlineMode() const override;
    FetchEnv fetchEnv() override;
    const configInfoClass& config() const override;
    bool sideViewerVisible() const override;
    void showInSideViewer(const std::string& file) override;
    void openSeriesAtCurrentResolution(const SeriesPtr& series) override;
    void popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) override;
    UserPrompt& prompt() override;
    // The tile wall
    void tileSelected(const SeriesPtr& series) override;
    void tileDeselected() override;
    // The list
    void selectTileFromGrid(std::size_t index) override;
    void showContentsPage() override;
    // The series' contents
    Resolution crntResolution() const override;
    void thumbSelected() override;
    void openPicture(const std::string& file) override;
    void viewPictures(const SeriesPtr& series, int pictureNumber) override;
    void openUrl(const std::string& address) override;
    void openFolder(const std::string& folder) override;

private:
    MainParts& parts_;
};

} // namespace zob
