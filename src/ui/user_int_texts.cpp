// The warning texts of the warning and question windows, German then
// English per id, in the fonts' single-byte code page.
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {
const char* const kStreetTooFarDE = "Abstand zur n\xE4" "chsten Stra\xDF" "e zu gro\xDF!";
const char* const kStreetTooFarEN = "Distance to next street too long!";
const char* const kAchtungTexte[CUserInt::kAchtungCount][2] = {
    {kStreetTooFarDE, kStreetTooFarEN},
    {"Keine Bus-/Bahn-Haltestelle in der N\xE4he!",
     "No bus/rail stop/station nearby!"},
    {"Sie haben kein Geld mehr. Nehmen Sie wenn m\xF6glich einen Kredit auf!",
     "You have no money left. If possible, take out a loan!"},
    {"Sie haben kein Geld mehr. Nehmen Sie wenn m\xF6glich einen Kredit auf!",
     "You have no money left. If possible, take out a loan!"},
    {"Sie haben kein Geld mehr. Nehmen Sie wenn m\xF6glich einen Kredit auf!",
     "You have no money left. If possible, take out a loan!"},
    {"Sie haben kein Geld mehr. Nehmen Sie wenn m\xF6glich einen Kredit auf!",
     "You have no money left. If possible, take out a loan!"},
    {"Stra\xDF" "enbau nicht m\xF6glich",
     "Street construction not possible"},
    {"Diese Stra\xDF" "e k\xF6nnen Sie nicht abrei\xDF" "en!",
     "You cannot remove this street!"},
    {"Kreuzungen liegen zu dicht nebeneinander!",
     "Intersections are too close together!"},
    {"Kreuzung liegt zu dicht an einer Kurve!",
     "Intersection is too close to a curve!"},
    {"Hier kann nur eine Stra\xDF" "e vom gleichen Typ eingef\xFCgt werden!",
     "Only one street of the same type can be inserted here!"},
    {"Hier kann keine Stra\xDF" "e beginnen!",
     "A street cannot start here!"},
    {"Hier k\xF6nnen keine Schienen beginnen!",
     "No tracks can start here!"},
    {"Haltestelle im Weg!",
     "Stop/station in way!"},
    {"Haltestelle im Weg!",
     "Stop/station in way!"},
    {"Hier kann kein Bahn\xFC" "bergang gebaut werden: Zu dicht an einer Kreuzung!",
     "A level crossing cannot be built here: Too close to an intersection!"},
    {"Hier kann kein Bahn\xFC" "bergang gebaut werden: Zu dicht an einer Kurve!",
     "A level crossing cannot be built here: Too close to a curve!"},
    {"In einer Stra\xDF" "en-Kurve kann kein Bahn\xFC" "bergang gebaut werden!",
     "A level crossing cannot be built on a curve in the street!"},
    {"Haltestelle im Weg!",
     "Stop/station in way!"},
    {"Haltestelle darf nicht an einer Kurve liegen!",
     "Stop/station may not be situated on a curve!"},
    {"Haltestelle darf nicht direkt an einer Kreuzung liegen!",
     "Stop/station may not be situated directly at an intersection!"},
    {"Sie haben kein Geld mehr!",
     "You have no money left!"},
    {"Sie haben zu wenig Geld, um die Schienen zu bauen!",
     "You don't have enough money to build the track!"},
    {"Sie haben Ihr Kreditlimit ausgesch\xF6pft!",
     "You have reached your credit limit!"},
    {"Sie haben kein Geld, um ihre Kredite zur\xFC" "ckzuzahlen!",
     "You have no money left to repay your loan!"},
    {"Sie haben keine Kredite mehr zur\xFC" "ckzuzahlen! Sie sind schuldenfrei!",
     "You have no loan left to repay! All your debts are paid off!"},
    {"Stra\xDF" "e kann nicht abgerissen werden, da sie ein wichtiges Geb\xE4ude erschlie\xDFt!",
     "Street cannot be removed as it services an important building!"},
    {"Stra\xDF" "ennetz darf nicht zerteilt werden!",
     "Street network may not be divided!"},
    {"Stra\xDF" "ennetz bildet einen Kreis!",
     "Street network forms a circle!"},
    {"Ihre Stra\xDF" "e hat keinen Platz f\xFCr ein Verkehrsleitsystem!",
     "Your street has no room for a traffic guidance system!"},
    {"Sie ben\xF6tigen nur eine Zorvanit\xE4tszentrale in Ihrer Stadt!",
     "You only need one zorvanta center in your city!"},
    {"Sie ben\xF6tigen nur eine Carsharing-Zentrale in Ihrer Stadt! Bauen Sie stattdessen weitere Stationen!",
     "You only need one car sharing center in your city! Build more stations instead!"},
    {"Sie m\xFCssen zuerst alle Carsharing-Stationen abrei\xDF" "en, bevor Sie die Carsharing-Zentrale abrei\xDF" "en k\xF6nnen!",
     "Before you can tear down your car sharing center you must first tear down all your car sharing stations!"},
    {"Sie m\xFCssen zuerst eine Carsharing-Zentrale bauen!",
     "You must build a car sharing center first!"},
    {"Sie m\xFCssen zuerst eine Stra\xDF" "e bauen!",
     "You must build a street first!"},
    {"Diese letzten Stra\xDF" "en k\xF6nnen Sie nicht mehr abrei\xDF" "en!",
     "You can no longer remove these last streets!"},
    {"Spielstand ist \xE4lter, automatische Konvertierung!",
     "Game is old. It will be automatically converted!"},
    {"Spielstand ist zu alt und Laden ist nicht mehr sicher!!!",
     "Game is too old and may no longer load correctly!!!"},
    {"Spielstand ist kein Zorvanta-Spielstand!!!",
     "Not a Zorvanta game!!!"},
    {"Schienennetz bildet einen Kreis!",
     "Rail network forms a circle!"},
    {"Haltestelle im Weg!",
     "Stop/station in way!"},
    {"Kreuzungen liegen zu dicht nebeneinander!",
     "Intersections are too close together!"},
    {"Kreuzung liegt zu dicht an einer Kurve!",
     "Intersection is too close to a curve!"},
    {"Sie m\xFCssen zuerst in die Forschung f\xFCr Wasserstoff-Fahrzeuge investieren!",
     "You must first invest in hydrogen vehicle research!"},
    {"Sie m\xFCssen zuerst in die Forschung f\xFCr Strom-/Elektrofahrzeuge investieren!",
     "You must first invest in electric vehicle research!"},
    {"Sie k\xF6nnen die drei Forschungsprogramme nur nacheinander absolvieren!",
     "You can only carry out the three research programs consecutively!"},
    {"Stra\xDF" "e liegt zu dicht an einem Bahn\xFC" "bergang!",
     "Street is too close to a level crossing!"},
    {"Schienen liegen zu dicht an einem Bahn\xFC" "bergang!",
     "Tracks are too close to a level crossing!"},
    {"Diese letzten Schienen k\xF6nnen Sie nicht mehr abrei\xDF" "en!",
     "You can no longer remove this last track!"},
    {"Keine Soundkarte gefunden!",
     "No sound card found!"},
    {"Konnte ZORVANTA Audiotracks nicht abspielen!",
     "Could not play ZORVANTA audio tracks!"},
    {"ZORVANTA CD nicht eingelegt! Audiotracks k\xF6nnen nicht abgespielt werden!",
     "ZORVANTA CD not inserted! Audio tracks could not be played!"},
    {"Kein Midi-Ger\xE4t gefunden!",
     "No MIDI equipment found!"},
    {"Haltestelle darf nur einmal pro Linie angefahren werden!",
     "Stop/station may only be approached once per line!"},
    {"Sie m\xFCssen zuerst neue Fahrzeuge kaufen oder diese von anderen Linien abziehen!",
     "First you must buy new vehicles or take them from other lines!"},
    {"Diese Schienen k\xF6nnen Sie nicht abrei\xDF" "en, denn Ihr Schienennetz mu\xDF zusammenh\xE4ngend sein!",
     "You cannot rip off these tracks as your rail network must remain connected!"},
    {"Diese Stra\xDF" "e k\xF6nnen Sie nicht abrei\xDF" "en, da sonst eine ung\xFCltige Kreuzung an Ihren Anschlu\xDFpunkten entstehen w\xFCrde!",
     "You cannot remove this street as otherwise an invalid junction would arise at your connection points!"},
    {"Diese Schienen k\xF6nnen Sie nicht abrei\xDF" "en!",
     "You cannot rip off these tracks!"},
    {"Bauen Sie zuerst eine Ampel, damit Sie weitere Einstellungen daran vornehmen k\xF6nnen!",
     "First, construct a traffic light, so that you can set it up!"},
    {"Midi-Dateien nicht gefunden!",
     "MIDI files not found!"},
    {"Eine Linie kann maximal 20 Haltestellen anfahren!",
     "A line may only have a maximum of 20 stops/stations!"},
    {"Tutorial-Video nicht gefunden. Bitte legen Sie die CD ein!",
     "Tutorial video not found. Please insert the CD!"},
    {"Audiotracks von CD k\xF6nnen nicht abgespielt werden. Es wurde auf Midi umgeschaltet.",
     "Audio tracks on the CD could not be played. Switched to MIDI."},
    {"Midi konnte nicht abgespielt werden. Es wurde auf Audiotracks von CD umgeschaltet.",
     "MIDI could not be played. Switched to audio tracks on CD."},
    {"Midi und Audiotracks von CD konnten nicht gestartet werden!",
     "MIDI and audio tracks on CD could not be started!"},
    {"Entfernen Sie zuerst den Park & Ride-Parkplatz in der N\xE4he der Haltestelle!",
     "First remove the Park & Ride parking lot near the stop/station!"},
    {"Haltestelle darf nicht direkt vor einem Endst\xFC" "ck liegen!",
     "Stop/station may not be situated directly before an end section!"},
    {"Das Programm wird in 10 Sekunden in den Ausgangszustand zur\xFC" "ckversetzt, wenn keine Aktion mehr vorgenommen wird!",
     "The program will be reset to the starting position if no action is taken within the next 10 seconds!"},
    {"Spielstand nicht vorhanden!",
     "Game not available!"},
    {"Wollen Sie den vorhandenen Spielstand wirklich \xFC" "berschreiben?",
     "Do you really want to overwrite the existing game?"},
    {"Wollen Sie den Spielstand wirklich l\xF6schen?",
     "Do you really want to delete the game?"},
    {"Wollen Sie den vorhandenen Spielstand durch den geladenen ersetzen?",
     "Do you really want to overwrite the existing game with the game to be loaded?"},
    {"Original-Spielstand kann nicht \xFC" "berschrieben werden!",
     "Original game cannot be overwritten!"},
    {"Original-Spielstand kann nicht gel\xF6scht werden!",
     "Original game cannot be deleted!"},
    {"Sie haben kein Geld mehr, um dieses Forschungsprogramm zu starten!",
     "You don't have any money to start this research program!"},
    {"Sie haben kein Geld mehr, um Fahrzeuge zu kaufen!",
     "You don't have any money to buy vehicles!"},
    {"Forschungsprogramme der 1. Stufe k\xF6nnen nur in St\xE4" "dten mit mehr als 15.000 Einwohnern absolviert werden!",
     "First stage research programs can only be carried out in cities with more than 15,000 inhabitants!"},
    {"Forschungsprogramme der 2. Stufe k\xF6nnen nur in St\xE4" "dten mit mehr als 35.000 Einwohnern absolviert werden!",
     "Second stage research programs can only be carried out in cities with more than 35,000 inhabitants!"},
    {"Forschungsprogramme der 3. Stufe k\xF6nnen nur in St\xE4" "dten mit mehr als 80.000 Einwohnern absolviert werden!",
     "Third stage research programs can only be carried out in cities with more than 80,000 inhabitants!"},
    {"Wollen Sie das Spiel wirklich verlassen?",
     "Do you really want to quit the game?"},
    {"Wollen Sie wirklich in den Mastermodus wechseln? Diese \xC4nderung k\xF6nnen Sie nicht mehr r\xFC" "ckg\xE4ngig machen!",
     "Do you really want to change to 'master mode'? Once made, you cannot reverse this change!"},
    {"Wollen Sie den Fuhrpark-Kauf verwerfen?",
     "Do you want to abandon the fleet purchase?"},
    {"Wollen Sie wirklich ein neues Spiel starten und den alten Spielstand verwerfen?",
     "Do you really want to start a new game and abandon the old game?"},
    {"Wollen Sie diese Linie wirklich l\xF6schen?",
     "Do you really want to delete this line?"},
    {"Spielstand konnte nicht gespeichert werden!",
     "The game could not be saved!"},
    {"Eine neue Stra\xDF" "e mu\xDF an das Stra\xDF" "ennetz anschlie\xDF" "en!",
     "A new street must join the street network!"},
    {"Neue Schienen m\xFCssen an das Schienennetz anschlie\xDF" "en!",
     "New tracks must join the rail network!"},
    {"Die Stra\xDF" "e ist zu kurz!",
     "The street is too short!"},
    {"Die Schienen sind zu kurz!",
     "The track is too short!"},
    {"Das Geb\xE4ude braucht freies Land!",
     "The building needs free land!"},
    {"Schienenbau nicht m\xF6glich",
     "Track construction not possible"},
    {"Dies kann nur auf einer Stra\xDF" "e stehen!",
     "This can only stand on a street!"},
    {"Eine S-Bahn-Haltestelle kann nur auf Schienen stehen!",
     "A railway station can only stand on a track!"},
    {"Die Haltestelle braucht freies Land neben der Stra\xDF" "e!",
     "The stop needs free land beside the street!"},
    {"Hier steht schon etwas!",
     "Something already stands here!"},
    {kStreetTooFarDE, kStreetTooFarEN},
    {"Spielstand konnte nicht geladen werden!",
     "The game could not be loaded!"},
    {"Die Schienen brauchen mehr Felder neben der Stra\xDF" "e: vier davor und drei dahinter!",
     "The track needs more cells beside the street: four before it and three after it!"},
    {"Die Stra\xDF" "e braucht mehr Felder neben den Schienen: drei davor und zwei dahinter, vierspurig drei dahinter!",
     "The street needs more cells beside the track: three before it and two after it, three after it for four lanes!"},
};
}  // namespace

const char* CUserInt::GetAchtungText(int id, int language) {
  if (id < 0 || id >= kAchtungCount) return nullptr;
  return kAchtungTexte[id][language == 1 ? 1 : 0];
}
namespace {
// Display names of the object kinds, by object type; kinds without a name
// stay empty.
const char* const kObjectText[CUserInt::kObjectNameCount][2] = {
    {"EFehler", "Error"},                               // 0
    {"Leer", "Empty"},                                  // 1
    {"Flu\xDF", "River"},                               // 2
    {"Berg", "Hill"},                                   // 3
    {"Wohngebiet", "Residential area"},                 // 4
    {"Gewerbegebiet", "Commercial area"},               // 5
    {"Industriegebiet", "Industrial area"},             // 6
    {"Geb\xE4ude", "Building"},                         // 7
    {"Wohnhaus", "Residential building"},               // 8
    {"B\xFCrogeb\xE4ude", "Office building"},           // 9
    {"Industriegeb\xE4ude", "Industrial building"},     // 10
    {"Festes Geb\xE4ude", "Fixed building"},            // 11
    {"Einkaufszentrum", "Shopping centre"},             // 12
    {"Schule", "School"},                               // 13
    {"Park", "Park"},                                   // 14
    {"Sportanlage", "Sports facility"},                 // 15
    {"Freizeiteinrichtung", "Entertainment"},           // 16
    {"Geb\xE4ude", "Building"},                         // 17
    {"Parkhaus", "Car park"},                           // 18
    {"Parkhaus", "Car park"},                           // 19
    {"Parkhaus", "Car park"},                           // 20
    {"", ""},                                           // 21
    {"", ""},                                           // 22
    {"Bushaltestelle", "Bus stop"},                     // 23
    {"Bushaltestelle", "Bus stop"},                     // 24
    {"Bushaltestelle", "Bus stop"},                     // 25
    {"Bushaltestelle", "Bus stop"},                     // 26
    {"", ""},                                           // 27
    {"Stra\xDF" "enbahnhaltestelle", "Tram stop"},      // 28
    {"Parkleitanzeige", "Parking guidance system"},     // 29
    {"Parkleitanzeige", "Parking guidance system"},     // 30
    {"Verkehrsleitanzeige", "Traffic guidance system"}, // 31
    {"Verkehrsleitanzeige", "Traffic guidance system"}, // 32
    {"Sendemast", "Transmitter mast"},                  // 33
    {"Carsharing-Zentrale", "Car sharing center"},      // 34
    {"Carsharing-Station", "Car sharing station"},      // 35
    {"", ""},                                           // 36
    {"", ""},                                           // 37
    {"Park & Ride", "Park & ride"},                     // 38
    {"Zorvanit\xE4tszentrale", "Zorvanta center"},      // 39
    {"Geschwindigkeitskontrolle", "Speed control"},     // 40
    {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""},   // 41-45
    {"Stra\xDF" "enrandobjekt", "Street-side object"},  // 46
    {"", ""},                                           // 47
    {"Stra\xDF" "engruppe", "Street group"},            // 48
    {"Kreuzungsgruppe", "Crossing group"},              // 49
    {"Schienen", "Track"},                              // 50
    {"Schienenkreuzung", "Rail junction"},              // 51
    {"Stra\xDF" "e", "Street"},                         // 52
    {"Kreuzung", "Crossing"},                           // 53
    {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""},   // 54-58
    {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""},   // 59-63
    {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""},   // 64-68
    {"", ""},                                           // 69
};

// Name templates of public-transport and measure objects.
const char* const kGltTexte[7][2] = {
    {"Bus %i", "Bus %i"},
    {"S-Bahn %i", "Train %i"},
    {"Carsharing-Zentrale", "Car sharing center"},
    {"Station %i", "Station %i"},
    {"Zorvanit\xE4tszentrale %i", "Zorvanta center %i"},
    {"Verkehrsleitanzeige %i", "Traffic guidance system %i"},
    {"Parkleitanzeige %i", "Parking guidance system %i"},
};

int Language() { return CWorldHost::Get()->GetLanguage() == 1 ? 1 : 0; }
}  // namespace

// The kind usually comes from a variable's value or an object's type, so
// anything outside the table names nothing.
const char* CUserInt::GetZorvaObjectName(int n) {
  if (n < 0 || n >= kObjectNameCount) return "";
  return kObjectText[n][Language()];
}

const char* CUserInt::GetGltTexte(int i) {
  const int l = Language();
  if (i < 0 || i > 6 || kGltTexte[i][l][0] == '\0') return kGltTexte[0][l];
  return kGltTexte[i][l];
}
