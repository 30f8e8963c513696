#pragma once

#include "demosite/calendar.h"
#include "demosite/content.h"
#include "demosite/siteoptions.h"

#include <string>
#include <vector>

namespace demosite {

struct GeneratedContent {
    // Monthly series oldest month first and by ascending day inside a month,
    // followed by the index archive page's series.
    std::vector<Series> series;
    std::vector<Model> models;
    std::vector<NamedId> photographers;
    std::vector<NamedId> countries;
    std::vector<std::string> bestOfNames; // rank 1 first
    std::vector<int> initialFavorites;    // favorite ids, page order
};

// Pure function of the options and the resolved date: the whole site.
GeneratedContent generateContent(const SiteOptions& options, CalendarDate today);

} // namespace demosite
