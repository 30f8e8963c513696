#include "gui/seriesfilter.h"

#include "gui/displaytext.h"

namespace zob {

QString foldedForFilter(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString kept;
    kept.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) {
            kept += c;
        }
    }
    return kept.toCaseFolded();
}

FilteredArtList::Keep seriesFilter(const QString& text) {
    return [wanted = foldedForFilter(text.trimmed())](const SeriesRec& series) {
        for (const std::string* field : {&series.title, &series.model, &series.photographer}) {
            if (foldedForFilter(toDisplay(*field)).contains(wanted)) {
                return true;
            }
        }
        return false;
    };
}

} // namespace zob
