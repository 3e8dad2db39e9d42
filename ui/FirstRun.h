#pragma once
#include <windows.h>

class DatabaseListPanel;
class ProgramServices;
class ReportSink;
class SettingsPanel;

// What a user's very first start does beyond any other (settings::IsFirstStart): the
// starter collection goes into the database list, so "Change signature" works at once, and
// the mail clients' signature files are offered, so choosing one is a click.
class FirstRun {
public:
    // Asks IsFirstStart of the places the services were started with, before start-up reads
    // or writes any setting; without places (a start that could not find them) it is none.
    explicit FirstRun(const ProgramServices& services);

    bool Active() const noexcept { return active_; }

    // After the settings are loaded. Lists this user's copy of the starter collection:
    // copied from beside the program into the folder the database list is kept in, or,
    // where that folder is the program's own (a portable copy), the shipped file itself.
    // A copy already there is the user's and is listed as it is. The list is saved at once,
    // which makes every later start no first start. A collection that is missing or cannot
    // be copied lists nothing, reported as a balloon when error balloons are on.
    void ListStarterCollection(ProgramServices& services, DatabaseListPanel& list, ReportSink& reports) const;

    // On the first paint of a start that shows the window: asks for OfferMailClients once
    // the window is up (a modal window is no part of painting).
    void AfterFirstPaint(HWND form) const;
    // The posted message that comes of it.
    static bool IsOfferMessage(UINT message) noexcept;
    // Opens "Mail clients" over the window when it would list a signature file; chooses
    // nothing itself.
    static void OfferMailClients(SettingsPanel& settings);

private:
    bool active_;
};
