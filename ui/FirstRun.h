#pragma once
#include <windows.h>

class ProgramServices;
class ReportSink;
class SettingsPanel;

// What a user's very first start does beyond any other (settings::IsFirstStart): the
// starter collection goes into the database list, so "Change signature" works at once, and
// the mail clients' signature files are offered, so choosing one is a click.
namespace FirstRun {

// The first start's step, once the settings are loaded and before any is written back: on
// anything but a first start it does nothing. Lists this user's copy of the starter
// collection in the profile: copied from beside the program into the folder the database
// list is kept in, or, where that folder is the program's own (a portable copy), the shipped
// file itself. A copy already there is the user's and is listed as it is. The list is saved
// at once, which makes every later start no first start. A collection that is missing or
// cannot be copied lists nothing, reported as a balloon when error balloons are on. A start
// that shows the window then has the mail clients offered over it (OfferMailClients), once
// its messages run.
void Run(ProgramServices& services, ReportSink& reports, HWND form, bool minimised);

// The posted message that asks for the offer.
bool IsOfferMessage(UINT message) noexcept;
// Opens "Mail clients" over the window when it would list a signature file; chooses
// nothing itself.
void OfferMailClients(SettingsPanel& settings);

} // namespace FirstRun
