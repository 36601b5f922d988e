#pragma once
// "&Convert Belvan file": picks an older-series data file and the name of
// the new measurement file set, and converts.

#include <QString>
#include <QWidget>
#include <functional>

#include "data/data_set.h"
#include "data/settings_access.h"

namespace corvan {

inline constexpr const char* kBelvanOpenFilter = "Belvan Files (*.dat)";
inline constexpr const char* kBelvanOpenTitle = "Open Belvan";
inline constexpr const char* kBelvanSaveTitle = "Save Corvan as...";

// The dialogs the command asks through; each empty function uses the real
// dialog.
struct BelvanUi {
    // The .dat file to convert (empty = cancelled).
    std::function<QString(const QString& directory)> chooseInput;
    // The name of the new set (empty = cancelled).
    std::function<QString(const QString& directory)> chooseOutput;
    // Yes to replace an existing set.
    std::function<bool(const QString& question)> confirmReplace;
    // A failure the user must see.
    std::function<void(const QString& text)> showError;
};

// The whole command. `dataDirectory` is where the save dialog starts.
// Returns the chosen output file name (.CVN) when a set was written, else
// an empty text.
QString RunConvertBelvan(QWidget* parent, DataSet& data, SettingsAccess& store, const QString& dataDirectory,
                         const BelvanUi& ui);

}  // namespace corvan
