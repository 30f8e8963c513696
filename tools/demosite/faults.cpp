#include "demosite/faults.h"

#include "demosite/urlcodec.h"

#include <stdexcept>

namespace demosite {
namespace {

// Picture numbers are written with four digits in file names.
constexpr int lastPictureNumber = 9999;

bool anyPictureFault(const Faults& faults) {
    return faults.pictureStatus != 0 || faults.pictureAsHtml ||
           faults.pictureBody != BodyFault::none;
}

// Applies a picture fault's own setting; false when the name is no picture fault.
bool setPictureFault(std::string_view name, Faults& faults) {
    if (name == "picture-503") {
        faults.pictureStatus = 503;
    } else if (name == "picture-500") {
        faults.pictureStatus = 500;
    } else if (name == "picture-html") {
        faults.pictureAsHtml = true;
    } else if (name == "picture-cut") {
        faults.pictureBody = BodyFault::cut;
    } else if (name == "picture-stall") {
        faults.pictureBody = BodyFault::stall;
    } else {
        return false;
    }
    return true;
}

bool setOtherFault(std::string_view name, Faults& faults) {
    if (name == "no-midres") {
        faults.noMidRes = true;
    } else if (name == "page-trickle") {
        faults.pageBody = PageBody::trickle;
    } else if (name == "page-endless") {
        faults.pageBody = PageBody::endless;
    } else {
        return false;
    }
    return true;
}

} // namespace

void parseFault(std::string_view text, Faults& faults) {
    const std::size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const std::string quoted = "\"" + std::string(text) + "\"";
    Faults changed = faults;
    if (setOtherFault(name, changed)) {
        if (equals != std::string_view::npos) {
            throw std::invalid_argument("fault " + std::string(name) +
                                        " takes no number: " + quoted);
        }
        faults = std::move(changed);
        return;
    }
    const bool hadPictureFault = anyPictureFault(faults);
    if (!setPictureFault(name, changed)) {
        throw std::invalid_argument("unknown fault: " + quoted);
    }
    int number = 0;
    if (equals != std::string_view::npos) {
        const auto parsed = parseNumber(text.substr(equals + 1));
        if (!parsed || *parsed < 1 || *parsed > lastPictureNumber) {
            throw std::invalid_argument("a picture number from 1 to 9999 must follow \"=\": " +
                                        quoted);
        }
        number = *parsed;
    }
    // One number serves every picture fault; two different ones would
    // silently lose one of them.
    if (hadPictureFault && faults.pictureNumber != number) {
        throw std::invalid_argument("picture faults must all name the same picture: " + quoted);
    }
    changed.pictureNumber = number;
    faults = std::move(changed);
}

} // namespace demosite
