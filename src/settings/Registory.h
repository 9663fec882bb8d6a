#pragma once

// The two remembered folders of the editor, kept in the per-user settings
// store of the platform under organisation "Quenmark", application "Ovilant"
// (on Windows the registry key HKEY_CURRENT_USER\Software\Quenmark\Ovilant),
// as the string values "Open" and "Save". The store is read once at start-up
// and written once at exit; in between the commands use the two fields.
// Beside them, in the group "Window", the store keeps the main window's
// place and size ("Window/Geometry") and the zoom of the form in percent
// ("Window/Zoom"), and in the group "Review" the review interval of the plan
// list in months ("Review/Months").

#include <QByteArray>
#include <QString>

// The folder every command falls back to when nothing better is known: the
// root of drive C: on Windows, the user's home folder elsewhere.
QString RootFolder();

class TRegistory {
public:
    // `settingsFile` empty: the user's own settings store. Otherwise the
    // values are kept in that INI file (tests use a temporary one).
    explicit TRegistory(QString settingsFile = QString());

    QString OpenFolder; // folder of the plan last opened or printed
    QString SaveFolder; // folder the save commands write into

    // Both folders := RootFolder().
    void SetDefaultFolders();
    // Reads both values. When the store holds nothing at all, both folders
    // get their defaults; a single missing value reads as the empty text.
    void LoadFolders();
    // Writes both values; a store that cannot be written loses them silently.
    void StoreFolders();

    QByteArray WindowGeometry; // as QWidget::saveGeometry() gives it; empty: none yet
    int Zoom = 100;            // percent

    // Reads the window values; absent ones keep their defaults.
    void LoadWindow();
    // Writes the window values, silently lost when the store cannot be written.
    void StoreWindow();

    // Months from a patient's latest plan to the next review (見直し間隔);
    // at first planindex::kDefaultReviewMonths.
    int ReviewMonths;

    // Reads the review interval; an absent value or one outside the range
    // that planindex accepts reads as the default.
    void LoadReview();
    // Writes it, silently lost when the store cannot be written.
    void StoreReview();

private:
    QString m_settingsFile;
};
