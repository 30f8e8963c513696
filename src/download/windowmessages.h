#pragma once

#include "catalogue/seriesrec.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zob {

class threadManagerNg;

// The program's own window messages. The numbers are the classic ones (the
// first user message number plus 101..103 and 1025..1031) so that logs and
// traces of both worlds read alike.
inline constexpr std::uint16_t WM_loadedMonthlyAll = 0x465;
inline constexpr std::uint16_t WM_forceQuitCompleted = 0x466;
inline constexpr std::uint16_t WM_freeThreadMngrNg = 0x467;
inline constexpr std::uint16_t WM_loadedThumb = 0x801;
inline constexpr std::uint16_t WM_loadedLarge = 0x802;
inline constexpr std::uint16_t WM_loadedLogo = 0x803;
inline constexpr std::uint16_t WM_loadedThumbAll = 0x804;
inline constexpr std::uint16_t WM_loadedLargeAll = 0x805;
inline constexpr std::uint16_t WM_updateSpec = 0x806;
inline constexpr std::uint16_t WM_updateThreadCount = 0x807;

// One message to the main window. Instead of two machine words it carries
// the series and the manager as owning references, so a handler may use them
// even if the sender lets go of them right after the send returns, and the
// plain-number parameters under their own names; parts a kind does not use
// stay empty or 0.
struct WindowMessage {
    std::uint16_t id = 0;
    SeriesPtr series;
    std::shared_ptr<threadManagerNg> manager;
    // loadedThumb, loadedLarge: the picture's number, from 1.
    std::int32_t picture = 0;
    // loadedLogo: the series' place in the current list, from 0, and which
    // of its covers arrived.
    std::int32_t listIndex = 0;
    bool largeCover = false;
    // updateThreadCount: the managers alive.
    std::int32_t liveManagers = 0;

    // Picture n (from 1) of the series' thumbnails arrived.
    static WindowMessage loadedThumb(SeriesPtr s, std::int32_t n) {
        WindowMessage message = about(WM_loadedThumb, std::move(s));
        message.picture = n;
        return message;
    }
    // Full-size picture n (from 1) of the series arrived.
    static WindowMessage loadedLarge(SeriesPtr s, std::int32_t n) {
        WindowMessage message = about(WM_loadedLarge, std::move(s));
        message.picture = n;
        return message;
    }
    // The cover of the series at `index` in the current list arrived.
    static WindowMessage loadedLogo(std::int32_t index, bool large) {
        WindowMessage message = about(WM_loadedLogo);
        message.listIndex = index;
        message.largeCover = large;
        return message;
    }
    // The job's last worker ended; `id` is the manager's done message.
    static WindowMessage done(std::uint16_t id, SeriesPtr s, std::shared_ptr<threadManagerNg> m) {
        return about(id, std::move(s), std::move(m));
    }
    // A worker changed the series' photo count.
    static WindowMessage updateSpec(SeriesPtr s) { return about(WM_updateSpec, std::move(s)); }
    static WindowMessage updateThreadCount(std::int32_t live) {
        WindowMessage message = about(WM_updateThreadCount);
        message.liveManagers = live;
        return message;
    }
    static WindowMessage forceQuitCompleted() { return about(WM_forceQuitCompleted); }
    // Always the last message of a manager: the window may release it now.
    static WindowMessage freeThreadMngrNg(SeriesPtr s, std::shared_ptr<threadManagerNg> m) {
        return about(WM_freeThreadMngrNg, std::move(s), std::move(m));
    }
    // A message of kind `kind` about a series and/or manager.
    static WindowMessage about(std::uint16_t kind, SeriesPtr s = nullptr,
                               std::shared_ptr<threadManagerNg> m = nullptr) {
        WindowMessage message;
        message.id = kind;
        message.series = std::move(s);
        message.manager = std::move(m);
        return message;
    }
};

// The message's name for traces and test failures; "0x..." for unknown ids.
std::string windowMessageName(std::uint16_t id);

} // namespace zob
