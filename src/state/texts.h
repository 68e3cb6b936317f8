#pragma once

#include <string>

#include "platform/cp1250.h"

namespace zeb::texts {

// Every text the program shows or writes, as the Windows-1250 bytes that it keeps.
inline const std::string kCannotOpenLog = utf8ToCp1250("Nelze otevřít deník cabrillo!");
inline const std::string kTooManyQsos =
    utf8ToCp1250("Načteno QSO č.2000\nTo není deník z ZEB QSO party!");
inline const std::string kTabOnLinePrefix = utf8ToCp1250("Na řádku č. ");
inline const std::string kTabOnLineSuffix =
    utf8ToCp1250(" je nepřípustný\nznak tabulátor!\n(ASCII kód 9)");
inline const std::string kNoQsoIn25Lines =
    utf8ToCp1250("To neni denik cabrillo!\nNačteno 25 řádků a QSO nikde!");
inline const std::string kNoEndMarker =
    utf8ToCp1250("To neni denik cabrillo!\nDeník ma končit\nEND-OF-LOG: ");
inline const std::string kLongLinesCut = utf8ToCp1250("Nalezen řádek delší, než 80 znaků,zkrácen");
inline const std::string kAutoConfigFailed = utf8ToCp1250(
    "Automatická konfigurace selhala!\nZkus ruční konfiguraci\nPotom se třeba dá něco spočítat");
inline const std::string kRowBelowOne = utf8ToCp1250("Řádky se počítají od jedničky nahoru!");
inline const std::string kRowAboveCount = utf8ToCp1250("Tolik QSO tu není!");
inline const std::string kFileExists = utf8ToCp1250("Soubor existuje, chceš ho přepsat?");
inline const std::string kProtocolNotWritten =
    utf8ToCp1250("Výsledek se nepodařilo uložit do souboru\n");
inline const std::string kConfigNotWritten =
    utf8ToCp1250("Konfiguraci se nepodařilo uložit do souboru\n");

inline const std::string kStatusLoaded = utf8ToCp1250("deník načten");
inline const std::string kStatusLoadFailed = utf8ToCp1250("načtení se nezdařilo");
inline const std::string kStatusSaved = utf8ToCp1250("Výsledek uložen");
inline const std::string kStatusSameNumbers = utf8ToCp1250("Nalezeny různé call u stejného ZEB");

inline const std::string kCaptionResult = utf8ToCp1250("výsledek = ");
inline const std::string kCaptionQsos = utf8ToCp1250("QSOs =");
inline const std::string kCaptionErrors = utf8ToCp1250("dublů =");
inline const std::string kCaptionPoints = utf8ToCp1250("bodů = ");
inline const std::string kCaptionClubMults = utf8ToCp1250("ZEBů = ");
inline const std::string kCaptionDxccMults = utf8ToCp1250("DXCC = ");

}  // namespace zeb::texts
