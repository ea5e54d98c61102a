// The small dialog of the View menu's "Set Range ..." items: two limits
// typed into two fields.
#pragma once

#include <QString>
#include <optional>
#include <utility>

class QWidget;

namespace wendrel {

// Asks for a range, its fields named `lowName` and `highName` and filled
// with `low` and `high`; the two texts as typed after OK, none after Cancel.
std::optional<std::pair<QString, QString>> AskRange(QWidget* parent, const QString& title, const QString& lowName,
                                                    const QString& highName, const QString& low, const QString& high);

}  // namespace wendrel
