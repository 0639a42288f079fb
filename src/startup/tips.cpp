#include "startup/tips.h"

namespace tallymoor {
namespace {

const char* const kEnglish[kTipCount] = {
    "Tallymoor shows exactly one form or window. You can startup Tallymoor more than once and "
    "create an multisession. Saved changes are available in the other sessions.",
    "Use Tallymoor fast and efficient, read the help file for all key functions.",
    "Questions? Use our free email helpdesk.",
    "Startup your calculator and use copy/paste functionality. Amounts are truncated not "
    "averaged!",
};

const char* const kDutch[kTipCount] = {
    "Tallymoor laat precies 1 window zien. Er kunnen meerdere versies van Tallymoor tegelijk "
    "actief zijn. Opgeslagen wijzigingen zijn beschikbaar voor andere versies.",
    "Tallymoor snel en efficient gebruiken, lees dan de helptekst over de sneltoesten.",
    "Voor vragen mail dan onze gratis email helpdesk.",
    "Met copy paste kunt U berekeningen van uw calculator overnemen!",
};

// Windows-1252: \xE4 a-umlaut, \xFC u-umlaut.
const char* const kGerman[kTipCount] = {
    "Tallymoor zeigt genau 1 Fenster. Gleichzeitig mehrere Versionen des Programms auf Ihrem "
    "Computer aktiv ist m\xF6glich. Gespeicherte \xC4nderungen sind f\xFCr andere Versionen "
    "verf\xFCgbar.",
    "Tallymoor schnell und effizient nutzen, lesen Sie bitte die Hilfe-Text auf der "
    "Tastatur-Shortcut.",
    "F\xFCr Fragen Mail unseren kostenlosen E-Mail-Support.",
    "Startup Ihren Rechner und benutzen Sie die Verwendung Kopieren / "
    "Einf\xFCgen-Funktionalit\xE4t. "
    "Die Betr\xE4ge sind im Durchschnitt nicht abgeschnitten!",
};

}  // namespace

std::string tipText(const std::string& language, int index) {
  if (index < 0 || index >= kTipCount) index = 0;
  if (language == "Nederlands") return kDutch[index];
  if (language == "Deutsch") return kGerman[index];
  return kEnglish[index];
}

}  // namespace tallymoor
