#include "gui/balloon_help.h"

#include "worldbase/zor_world_host.h"

namespace {
// German, English; texts in the fonts' single-byte code page. Ids 37, 69,
// 178, 210, 222 and 226 name no button text and stay empty.
const char* const bht_texte[CBalloonHelp::kCount][2] = {
    {"Spielleiste ein-/ausblenden", "Display/hide Gamebar"},  // 0
    {"Tageszeit-Anzeige", "Time display"},  // 1
    {"Jahres-Anzeige", "Year display"},  // 2
    {"Welt links rotieren", "Rotate map counter-clockwise"},  // 3
    {"Ausschnitt vergr\xF6\xDF" "ern", "Zoom out"},  // 4
    {"Ausschnitt verkleinern", "Zoom in"},  // 5
    {"Welt rechts rotieren", "Rotate map clockwise"},  // 6
    {"Bus-/Bahnlinien einblenden", "Display bus and rail lines"},  // 7
    {"Geb\xE4ude ausschalten", "Show/hide buildings"},  // 8
    {"Nur Verkehrsgeb\xE4ude anzeigen", "Show transport system buildings only"},  // 9
    {"Fahrzeuge ausblenden", "Show/Hide animations"},  // 10
    {"Optionen/Laden/Speichern", "Options/Load/Save"},  // 11
    {"Event-Informationen", "Event administration"},  // 12
    {"Berater", "Consultant"},  // 13
    {"Info-Karte", "2D map"},  // 14
    {"Indikatoren/Stadtbewertung", "Indicators/City rating"},  // 15
    {"Stadtstruktur gegliedert nach Funktionalit\xE4t", "City structure arranged according to functionality"},  // 16
    {"Bev\xF6lkerungsdichte", "Population density"},  // 17
    {"Arbeitspl\xE4tze", "Jobs"},  // 18
    {"Leerstehende Wohnungen", "Vacant apartments"},  // 19
    {"Leerstehende Gewerbefl\xE4" "che", "Vacant commercial/industrial space"},  // 20
    {"Anzeige der verschiedenen Stra\xDF" "entypen", "Display different street types"},  // 21
    {"Prozentuale Auslastung der Stra\xDF" "en", "Utilization of streets (percentage)"},  // 22
    {"Bus-/Bahnnetz mit Haltestellen", "Bus/rail network with stops/stations"},  // 23
    {"Bus-/Bahnnetz mit Nutzeranteilen", "Public transport user share"},  // 24
    {"Abdeckung der Stadt mit Sendemasten", "Coverage of city by transmitter masts"},  // 25
    {"Abdeckung der Stadt mit Carsharing-Stationen", "Coverage of city by car sharing stations"},  // 26
    {"Verf\xFCgbarkeit von Parkpl\xE4tzen", "Availability of parking lots"},  // 27
    {"Pkw-Erreichbarkeit von einem Bezirk zum anderen", "Passenger car accessibility between districts"},  // 28
    {"Schadstoff-Emissionen", "Pollutant emissions"},  // 29
    {"L\xE4rm-Emissionen", "Noise emissions"},  // 30
    {"Wohnqualit\xE4t", "Housing quality"},  // 31
    {"Geb\xE4ude bauen", "Construct buildings"},  // 32
    {"Verkehrsdienstleister", "Traffic services"},  // 33
    {"\xD6PNV: Bus/Bahn", "Local public transport: Bus/rail"},  // 34
    {"Alternative Verkehrskonzepte", "Alternative concepts"},  // 35
    {"Verkehrsnetze/Haltestellen", "Transport network/stops and stations"},  // 36
    {"", ""},  // 37
    {"Park & Ride-Parkpl\xE4tze", "Park & ride parking lots"},  // 38
    {"Verkehrsleitsystem", "Traffic guidance system"},  // 39
    {"Parkplatz-Management", "Parking management"},  // 40
    {"Stadtverwaltung - Finanzen", "City administration - Finances"},  // 41
    {"Nebenstra\xDF" "e", "Side street"},  // 42
    {"Hauptstra\xDF" "e", "Main street"},  // 43
    {"4-spurige Hauptstra\xDF" "e", "Four-lane street"},  // 44
    {"Bus-/Bahn-Haltestellen", "Bus/rail stops and stations"},  // 45
    {"S-Bahn-Gleise", "Track"},  // 46
    {"Stra\xDF" "en/Schienen abrei\xDF" "en", "Remove streets/tracks"},  // 47
    {"Bushaltestelle nur Schild", "Bus stop sign only"},  // 48
    {"Bushaltestelle mit H\xE4uschen", "Bus stop with shelter"},  // 49
    {"S-Bahn-Haltestelle", "Railway station"},  // 50
    {"Haltestellen abrei\xDF" "en", "Remove stop/station"},  // 51
    {"Bebauungsfl\xE4" "chen ausweisen", "Zone development areas"},  // 52
    {"Wohnfl\xE4" "chen ausweisen", "Zone residential areas"},  // 53
    {"B\xFCrofl\xE4" "chen ausweisen", "Zone commercial areas"},  // 54
    {"Industriefl\xE4" "chen ausweisen", "Zone industrial areas"},  // 55
    {"Ausgewiesene Fl\xE4" "chen l\xF6schen", "Remove zoning"},  // 56
    {"Niedrige Bebauungsdichte", "Low development density"},  // 57
    {"Hohe Bebauungsdichte", "High development density"},  // 58
    {"Niedrige Bebauungsdichte", "Low development density"},  // 59
    {"Hohe Bebauungsdichte", "High development density"},  // 60
    {"Finanzen", "Finances"},  // 61
    {"Forschung", "Research"},  // 62
    {"Verkehrsverordnungen", "Traffic regulations"},  // 63
    {"Steuern", "Taxes"},  // 64
    {"Zusch\xFCsse", "Subsidies"},  // 65
    {"Kredite zur\xFC" "ckzahlen", "Repay loans"},  // 66
    {"Kredite aufnehmen", "Take out loans"},  // 67
    {"Haltestelle aus der Linie entfernen", "Remove stop/station from the line"},  // 68
    {"", ""},  // 69
    {"Haltestelle am Linienende einf\xFCgen", "Add stop/station to end of line"},  // 70
    {"Personal Travel Assistent", "Personal Travel Assistant"},  // 71
    {"Zorvanit\xE4tszentrale", "Zorvanta center"},  // 72
    {"Passive Zielf\xFChrung", "Passive navigation"},  // 73
    {"Aktive Zielf\xFChrung", "Active navigation"},  // 74
    {"Carsharing", "Car sharing"},  // 75
    {"Werbung", "Advertising"},  // 76
    {"Fuhrpark: Busse/Bahnen", "Fleet: Buses/trains"},  // 77
    {"Finanzen", "Finances"},  // 78
    {"Liniennetz", "Line information"},  // 79
    {"Service", "Customer services"},  // 80
    {"Personal-Management", "Human resources"},  // 81
    {"Werbung", "Advertising"},  // 82
    {"Fahrpreise", "Fares"},  // 83
    {"Busse/Bahnen kaufen", "Buy buses/trains"},  // 84
    {"Verkehrsrelevante Geb\xE4ude", "Traffic-relevant buildings"},  // 85
    {"Verkehrstechnische Geb\xE4ude", "Traffic-technical buildings"},  // 86
    {"Geb\xE4ude abrei\xDF" "en", "Remove building"},  // 87
    {"Einkaufszentren/L\xE4" "den", "Shopping malls"},  // 88
    {"Schulen", "Schools"},  // 89
    {"Theater/Kino", "Theater/movie theatre"},  // 90
    {"Sportst\xE4tten", "Sports facilities"},  // 91
    {"Parks", "Parks"},  // 92
    {"Carsharing-Zentrale", "Car sharing center"},  // 93
    {"Carsharing-Station", "Car sharing station"},  // 94
    {"Sendemast f\xFCr Aktive Zielf\xFChrung", "Transmitter mast for active navigation system"},  // 95
    {"Zorvanit\xE4tszentrale", "Zorvanta center"},  // 96
    {"Parkpl\xE4tze", "Parking facilities"},  // 97
    {"Park & Ride-Parkplatz", "Park & ride parking lot"},  // 98
    {"Handelsgeb\xE4ude: klein", "Shopping mall: small"},  // 99
    {"Handelsgeb\xE4ude: mittel", "Shopping mall: medium-sized"},  // 100
    {"Handelsgeb\xE4ude: gro\xDF", "Shopping mall: large"},  // 101
    {"Park: klein", "Park: small"},  // 102
    {"Park: mittel", "Park: medium-sized"},  // 103
    {"Park: gro\xDF", "Park: large"},  // 104
    {"Schule: klein", "School: small"},  // 105
    {"Schule: mittel", "School: medium-sized"},  // 106
    {"Schule: gro\xDF", "School: large"},  // 107
    {"Sportplatz: klein", "Sports facility: small"},  // 108
    {"Sportplatz: mittel", "Sports facility: medium-sized"},  // 109
    {"Sportstadion: gro\xDF", "Sports facility: large"},  // 110
    {"Theater: klein", "Theater: small"},  // 111
    {"Theater: mittel", "Theater: medium-sized"},  // 112
    {"Theater: gro\xDF", "Theater: large"},  // 113
    {"Parkplatz: klein", "Parking lot: small"},  // 114
    {"Parkplatz: gro\xDF", "Parking lot: large"},  // 115
    {"Parkhaus", "Parking garage"},  // 116
    {"Parkgeb\xFChren", "Parking fees"},  // 117
    {"Bilanz", "Balance"},  // 118
    {"Systeme", "Parking systems"},  // 119
    {"Einstellungen", "Settings"},  // 120
    {"Allgemeine Informationen", "General information"},  // 121
    {"Parkraumauslastung", "Parking space utilization"},  // 122
    {"Indikatoren", "Indicators"},  // 123
    {"Statistiken", "Statistics"},  // 124
    {"Mastermodus", "Master mode"},  // 125
    {"5 Quartale anzeigen", "Display 5 quarters"},  // 126
    {"10 Quartale anzeigen", "Display 10 quarters"},  // 127
    {"30 Quartale anzeigen", "Display 30 quarters"},  // 128
    {"Werte vergr\xF6\xDF" "ert darstellen", "Zoom in/out"},  // 129
    {"Zum letzten Quartal springen", "Jump to lastest quarter"},  // 130
    {"Anzeige ein Quartal zur\xFC" "ck", "Display previous quarter"},  // 131
    {"Anzeige ein Quartal vor", "Display subsequent quarter"},  // 132
    {"Alle Statistiken f\xFCr eine Gruppe einschalten", "Switch on all statistics for one group"},  // 133
    {"Alle Statistiken f\xFCr eine Gruppe ausschalten", "Switch off all statistics for one group"},  // 134
    {"Einwohnerzahl", "Population figure"},  // 135
    {"Industriearbeitspl\xE4tze", "Industrial jobs"},  // 136
    {"Dienstleistungs-/B\xFCroarbeitspl\xE4tze", "Services/commercial jobs"},  // 137
    {"Unterhaltung/Sportm\xF6glichkeiten", "Entertainment/sports facilities"},  // 138
    {"Fahrten pro Einwohner und Tag", "Trips per inhabitant and day"},  // 139
    {"Mittlere Wegstrecke pro Fahrt", "Average distance per trip"},  // 140
    {"Kosten pro zur\xFC" "ckgelegtem km", "Cost per kilometer traveled"},  // 141
    {"Zur\xFC" "ckgelegte Wegstrecke pro Einwohner und Tag", "Distance traveled per inhabitant and day"},  // 142
    {"Gesamt-Energieverbrauch der Stadt", "Total energy consumption of city"},  // 143
    {"Gesamt-Emmissionen in der Stadt", "Total pollutant emissions in city"},  // 144
    {"Motorisierungsgrad", "Car ownership"},  // 145
    {"Stra\xDF" "en-Netzl\xE4nge in km", "Length of street network in km"},  // 146
    {"Gesamt-Pkw-Kilometer pro Tag aller Einwohner", "Total passenger car kilometers per day of all inhabitants"},  // 147
    {"Pkw-Kilometer pro Tag und Einwohner", "Passenger car kilometers per day and inhabitant"},  // 148
    {"Mittlere Reisegeschwindigkeit in km/h", "Average speed of travel in km/h"},  // 149
    {"Parksuchzeit in Minuten", "Time spent looking for parking in minutes"},  // 150
    {"Kosten pro Pkw-Kilometer", "Cost per passenger car kilometer"},  // 151
    {"Bewirtschaftete Parkpl\xE4tze", "Managed parking spaces"},  // 152
    {"Auslastung der bewirtschafteten Parkpl\xE4tze", "Utilization of managed parking space"},  // 153
    {"Linienl\xE4nge Bus/Bahn-Netz", "Public transport network length"},  // 154
    {"Von Bussen und Bahnen pro Tag zur\xFC" "ckgelegte km", "Distance traveled by buses/rail per day in km"},  // 155
    {"km der Einwohner pro Tag mit Bus und Bahn", "Distance traveled by inhabitants by bus/rail per day in km"},  // 156
    {"Mittlere Reisegeschwindigkeit in km/h", "Average speed of travel in km/h"},  // 157
    {"Bus/Bahn km pro Einwohner und Tag", "Bus/rail km per inhabitant and day"},  // 158
    {"Fahrpreis pro km", "Fare per km"},  // 159
    {"Zugangs-/Abgangszeit pro Fahrt zur/von der Haltestelle", "Arrival/departure time per trip to/from the stop/station"},  // 160
    {"% der Wege oder km aller Einwohner per Pkw", "% of trips or km for all inhabitants using passenger cars"},  // 161
    {"% der Wege oder km aller Einwohner per Park & Ride-System", "% of trips or km for all inhabitants using park & ride system"},  // 162
    {"% der Wege oder km aller Einwohner per Bus oder Bahn", "% of trips or km for all inhabitants using bus/rail"},  // 163
    {"% der Wege oder km aller Einwohner zu Fu\xDF oder mit dem Fahrrad", "% of trips or km for all inhabitants on foot or by bicycle"},  // 164
    {"Anzeige der Verteilung der km auf Pkw/P&R/\xD6PNV/Fu\xDFg\xE4nger", "Display of distribution of km by passenger car/park & ride/local public transport/pedestrian"},  // 165
    {"Anzeige der Verteilung der Wege auf Pkw/P&R/\xD6PNV/Fu\xDFg\xE4nger", "Display of distribution of trips using passenger car/park & ride/local public transport/pedestrian"},  // 166
    {"Durchschnittliche Anzahl Personen pro Pkw", "Average number of persons per passenger car"},  // 167
    {"% der normalen/Standard-Pkw an allen Pkw", "Normal passenger cars as % of all passenger cars"},  // 168
    {"% der Microcars an allen Pkw", "Microcars as % of all passenger cars"},  // 169
    {"% der Wasserstoff-Pkw an allen Pkw", "Hydrogen passenger cars as % of all passenger cars"},  // 170
    {"% der Strom-Pkw an allen Pkw", "Electric passenger cars as % of all passenger cars"},  // 171
    {"Nutzeranteil in % aller Einwohner", "User share as % of all inhabitants"},  // 172
    {"Anteil der Teleworker an den Berufst\xE4tigen in %", "Teleworkers as % of total employed"},  // 173
    {"Personal Travel Assistent: Nutzeranteil in % aller Einwohner", "Personal Travel Assistant user share as % of all inhabitants"},  // 174
    {"Nutzeranteil in % aller Pkw-Besitzer", "User share as % of all passenger car owners"},  // 175
    {"Nutzeranteil in % aller Pkw-Besitzer", "User share as % of all passenger car owners"},  // 176
    {"Nutzeranteil in % aller Einwohner", "User share as % of all inhabitants"},  // 177
    {"", ""},  // 178
    {"Stadtbewertung: Mittel aller Indikatoren", "City rating: Average of all indicators"},  // 179
    {"Wachstum der Stadt 0.5 = kein Wachstum", "Growth of city: 0.5 = zero growth"},  // 180
    {"Jahresbilanz der Stadt", "City's annual balance"},  // 181
    {"Aktueller Kontostand", "Current account balance"},  // 182
    {"Jahresbilanz der Steuer/Geb\xFChreneinnahmen", "Annual balance of income from taxes/fees"},  // 183
    {"Jahresbilanz der Bu\xDFgelder", "Annual balance of fines"},  // 184
    {"Gesamtkredite am Jahresende", "Total loans outstanding at year-end"},  // 185
    {"\xD6PNV-Jahresbilanz", "Annual balance of local public transport"},  // 186
    {"Jahresbilanz PTA", "Annual balance of PTA"},  // 187
    {"Jahresbilanz Carsharing", "Annual balance of car sharing"},  // 188
    {"Jahresbilanz Passive Zielf\xFChrung", "Annual balance of passive navigation"},  // 189
    {"Jahresbilanz Aktive Zielf\xFChrung", "Annual balance of active navigation"},  // 190
    {"Jahresbilanz Parkraum-Management", "Annual balance of parking management"},  // 191
    {"Jahresbilanz Zorvanit\xE4tszentrale", "Annual balance of zorvanta center"},  // 192
    {"Springe zum Ereignis", "Jump to event"},  // 193
    {"Automatische Ereignisanzeige ein-/ausblenden", "Show/hide automatic event display"},  // 194
    {"Neues Spiel", "New game"},  // 195
    {"Spiel verlassen", "Exit game"},  // 196
    {"Spielen", "Play"},  // 197
    {"Weiter Spielen", "Continue game"},  // 198
    {"Weiter", "Continue"},  // 199
    {"Markiertes Ereignis l\xF6schen", "Delete marked event"},  // 200
    {"Indikatoren Effektivit\xE4t", "Effectiveness indicators"},  // 201
    {"Indikatoren Qualit\xE4t", "Quality indicators"},  // 202
    {"Indikatoren Zorvanit\xE4t", "Zorvanta indicators"},  // 203
    {"Stadtbewertung/Wachstum", "City rating/growth"},  // 204
    {"Spielmodi / Szenarioaufgabe", "Game mode/scenario task"},  // 205
    {"Spiel laden", "Load game"},  // 206
    {"Fenster nicht mehr anzeigen", "Do not display this window again"},  // 207
    {"Spiel Speichern", "Save game"},  // 208
    {"Einstellungen", "Settings"},  // 209
    {"", ""},  // 210
    {"Freier Spielmodus", "Free game mode"},  // 211
    {"Mastermodus", "Master mode"},  // 212
    {"Szenarien", "Scenarios"},  // 213
    {"Leere Spielfl\xE4" "che", "Empty playing area"},  // 214
    {"Spielstand von Festplatte l\xF6schen", "Delete game from hard disk"},  // 215
    {"Spielgeschwindigkeit", "Game speed"},  // 216
    {"Pause", "Pause"},  // 217
    {"Aufl\xF6sung auf 640x480 umschalten", "Switch resolution to 640x480"},  // 218
    {"Aufl\xF6sung auf 800x600 umschalten", "Switch resolution to 800x600"},  // 219
    {"Lautst\xE4rke Soundeffekte einstellen", "Set sound effects volume"},  // 220
    {"Lautst\xE4rke Hintergrundmusik einstellen", "Set background music volume"},  // 221
    {"", ""},  // 222
    {"Hintergrundmusik als MIDI-File abspielen", "Play background music as MIDI file"},  // 223
    {"Zum Mastermodus wechseln", "Switch to Master mode"},  // 224
    {"Springe zum Geb\xE4ude", "Jump to building"},  // 225
    {"", ""},  // 226
    {"Zorvanta in Deutsch spielen", "Zorvanta in Deutsch spielen"},  // 227
    {"Play Zorvanta in English", "Play Zorvanta in English"},  // 228
    {"Konto", "Account balance"},  // 229
    {"Einwohner", "Inhabitants"},  // 230
    {"Kurzer Event-Text", "Event display"},  // 231
    {"Aufl\xF6sung auf 1024x768 umschalten", "Switch resolution to 1024x768"},  // 232
    // The rating series of the statistics, 44 to 56.
    {"Indikator: Kilometer pro Person", "Indicator: kilometers per person"},  // 233
    {"Indikator: Reisezeiten", "Indicator: travel times"},  // 234
    {"Indikator: Staus", "Indicator: traffic jams"},  // 235
    {"Indikator: Ausgaben Zorvanit\xE4t", "Indicator: Zorvanta costs"},  // 236
    {"Indikator: Energieverbrauch", "Indicator: energy consumption"},  // 237
    {"Indikator: Abgas", "Indicator: exhaust gas"},  // 238
    {"Indikator: L\xE4rm", "Indicator: noise"},  // 239
    {"Indikator: Energieverbrauch pro km", "Indicator: energy consumption per km"},  // 240
    {"Indikator: Raumtrennung", "Indicator: city subdivision"},  // 241
    {"Indikator: Fl\xE4" "chenverbrauch", "Indicator: land used"},  // 242
    {"Indikator: Erreichbarkeit", "Indicator: accessibility"},  // 243
    {"Indikator: Reisekomfort", "Indicator: travel comfort"},  // 244
    {"Indikator: Verkehrssicherheit", "Indicator: traffic safety"},  // 245
};
}  // namespace

const char* CBalloonHelp::GetText(int id) {
  if (static_cast<unsigned>(id) >= static_cast<unsigned>(kCount)) return nullptr;
  return bht_texte[id][CWorldHost::Get()->GetLanguage() == 1 ? 1 : 0];
}
