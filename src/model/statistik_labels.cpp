// The names, units and colours of the statistics' 79 series, German and
// English; a colour is 0xBBGGRR.
#include "model/statistik.h"

const CStatistik::Label CStatistik::kLabels[CStatistik::kSeries] = {
    {{"Einwohner", "Anzahl"}, {"Inhabitants", "Number"}, 0x486BEA},  // 0
    {{"Industriearbeite", "Anzahl"}, {"Industrial work", "Number"}, 0x80B5F6},  // 1
    {{"Dienstleister", "Anzahl"}, {"Services", "Number"}, 0x57B7F5},  // 2
    {{"Freizeitm\xF6""glichkeiten", "Anzahl"}, {"Leisure opportunities", "Number"}, 0x9DF9FF},  // 3
    {{"Fahrten pro Tag", "Fahrten pro Tag"}, {"Trips per day", "Trips per day"}, 0x6DD4A9},  // 4
    {{"mittler Wegl\xE4""nge", "Wegl\xE4""nge pro Fahrt in km"}, {"Average distances", "Distances per trip in km"}, 0x70C478},  // 5
    {{"Kosten pro Kilometer", "Euro pro km"}, {"Cost per kilometer", "Euro per km"}, 0x72B42F},  // 6
    {{"Wegstrecke", "km pro Person und Tag"}, {"Distance", "km per person and day"}, 0xCACC8C},  // 7
    {{"Energieverbrauch", "Gesamte Stadt"}, {"Energy consumption", "City total"}, 0xEFBB3F},  // 8
    {{"Emmissionen", "Gesamte Stadt"}, {"Emissions", "City total"}, 0xB06E66},  // 9
    {{"CO2", "Kilo pro Person"}, {"CO2", "Kilograms per person"}, 0xB78196},  // 10
    {{"Laerm", "db"}, {"Noise", "db"}, 0x9C5DAF},  // 11
    {{"Motorisierungsgrad", "Pkw pro 1000 Erwachsene"}, {"Car ownership", "Passenger cars per 1,000 adults"}, 0xB06E66},  // 12
    {{"Stra\xDF""ennetzl\xE4""nge", "km"}, {"Street network lengths", "km"}, 0x9E6BED},  // 13
    {{"PKW-Kilometer", "Pkw-km pro Tag aller Person"}, {"Passenger car kilometers", "Passenger car km per day for all people"}, 0x9C5DAF},  // 14
    {{"Kilometer pro Person", "Pkw-km pro Tag pro Person"}, {"Kilometers/person", "Passenger car km per day per person"}, 0x9B568E},  // 15
    {{"Mittlere Geschwindigkeit", "km pro Stunde"}, {"Average speed", "km per hour"}, 0x9A4F6A},  // 16
    {{"Parksuchzeit", "min"}, {"Time spent looking for parking space", "min"}, 0xB06E66},  // 17
    {{"Nutzerkosten", "Euro pro km"}, {"User costs", "Euro per km"}, 0xC58A5F},  // 18
    {{"Parkpl\xE4""tze Pkw", "Anzahl"}, {"Passenger car parking lots", "Number"}, 0xEFBB3F},  // 19
    {{"Auslastung Parkpl\xE4""tze", "%"}, {"Parking space utilization", "%"}, 0xB5B83C},  // 20
    {{"\xD6""pnv Netzl\xE4""nge", "km"}, {"Local public transport network lengths", "km"}, 0x1A65E7},  // 21
    {{"Taktkilometer", "km pro Tag"}, {"Kilometers driven", "km per day"}, 0x0068A0},  // 22
    {{"Passagierkilometer", "km pro Tag"}, {"Passenger kilometers", "km per day"}, 0x00A4A8},  // 23
    {{"mittlere Geschwindigkeit", "km pro Stunde"}, {"Average speed", "km per hour"}, 0x138452},  // 24
    {{"Kilometer pro Person", "km pro Tag und Person"}, {"Kilometers per person", "km per day per person"}, 0x3BB000},  // 25
    {{"Nutzerkosten", "Euro pro km"}, {"User costs", "Euro per km"}, 0x3F6900},  // 26
    {{"Zugangszeit \xD6""PNV", "min"}, {"Local public transport access time", "min"}, 0x9E7700},  // 27
    {{"Pkwfahrer", "%"}, {"Passenger car drivers", "%"}, 0x180096},  // 28
    {{"Park&Ride", "%"}, {"Park & Ride", "%"}, 0x0E419B},  // 29
    {{"\xD6""pnv", "%"}, {"Local public transport", "%"}, 0x0068A0},  // 30
    {{"Fu\xDF""g\xE4""nger/Radfahrer", "%"}, {"Pedestrians/cyclists", "%"}, 0x00A4A8},  // 31
    {{"Besetzungsgrad Pkw", "Personen pro Pkw"}, {"Passenger car occupancy", "Persons per passenger car"}, 0x138452},  // 32
    {{"Normale Pkw", "% der Pkw"}, {"Normal passenger car", "% of passenger cars"}, 0x247500},  // 33
    {{"Microcar", "% der Pkw"}, {"Microcars", "% of passenger cars"}, 0x9EA400},  // 34
    {{"Brennstoffzellen Pkw", "% der Pkw"}, {"Fuel cell passenger car", "% of passenger cars"}, 0xB06E66},  // 35
    {{"Strom Pkw", "% der Pkw"}, {"Electric passenger cars", "% of passenger cars"}, 0x9B568E},  // 36
    {{"Carsharing", "% der Bev\xF6""lkerung"}, {"Car sharing", "% of population"}, 0xB06E66},  // 37
    {{"Park&Ride", "% der Bev\xF6""lkerung"}, {"Park & Ride", "% of population"}, 0x9A4F6A},  // 38
    {{"Pta", "% der Bev\xF6""lkerung"}, {"PTA", "% of population"}, 0x7B0966},  // 39
    {{"Aktive Routenplanung", "% der Pkwbesitzer"}, {"Active route planning", "% of passenger car owners"}, 0x7F00E2},  // 40
    {{"Passive Routenplanung", "% der PkwBesitzer"}, {"Passive route planning", "% of passenger car owners"}, 0x530098},  // 41
    {{"Zorvanit\xE4""tszentrale", "% der Einwohner"}, {"Zorvanta center", "% of inhabitants"}, 0x0E006C},  // 42
    {{"Teleworking", "% der Einwohner"}, {"Teleworking", "% of inhabitants"}, 0x9A4F6A},  // 43
    {{"Kilometer Person", "Indikator "}, {"Kilometers per person", "Indicator "}, 0x779EF3},  // 44
    {{"Reisezeiten ", "Indikator"}, {"Travel times ", "Indicator"}, 0x486BEA},  // 45
    {{"Staus", "Indikator"}, {"Traffic jams", "Indicator"}, 0x57B7F5},  // 46
    {{"Ausgaben Zorvanit\xE4""t", "Indikator"}, {"Zorvanta costs", "Indicator"}, 0x00A4A8},  // 47
    {{"Energieverbrauch", "Indikator"}, {"Energy consumption", "Indicator"}, 0x0B5F3A},  // 48
    {{"Abgas", "Indikator"}, {"Exhaust gas", "Indicator"}, 0x185400},  // 49
    {{"L\xE4""rm", "Indikator"}, {"Noise", "Indicator"}, 0x3F6900},  // 50
    {{"Energieverbrauch Km", "Indikator"}, {"Energy consumption km", "Indicator"}, 0x9EA400},  // 51
    {{"Raumtrennung", "Indikator"}, {"City subdivision", "Indicator"}, 0xEFBB3F},  // 52
    {{"Fl\xE4""chenverbrauch", "Indikator"}, {"Land used", "Indicator"}, 0xB36900},  // 53
    {{"Erreichbarkeit", "Indikator"}, {"Accessibility", "Indicator"}, 0xC69595},  // 54
    {{"Reisekomfort", "Indikator"}, {"Travel comfort", "Indicator"}, 0x9A4F6A},  // 55
    {{"Verkehrssicherheit", "Indikator"}, {"Traffic safety", "Indicator"}, 0x7B0966},  // 56
    {{"Stadtbewertung", "Indikator"}, {"City rating", "Indicator"}, 0x9A4F6A},  // 57
    {{"Wachstum", "Indikator"}, {"Growth", "Indicator"}, 0x7B0966},  // 58
    {{"Gesamt Bilanz", "Euro"}, {"Total balance sheet", "Euro"}, 0x072D70},  // 59
    {{"Konto", "Euro"}, {"Bank account", "Euro"}, 0x00A4A8},  // 60
    {{"Steuern", "Euro"}, {"Taxes", "Euro"}, 0x758B9E},  // 61
    {{"Bu\xDF""gelder", "Euro"}, {"Fines", "Euro"}, 0x556476},  // 62
    {{"Ausgaben", "Euro"}, {"Expenditure", "Euro"}, 0x00777A},  // 63
    {{"\xD6""PNV", "Euro"}, {"Local public transport", "Euro"}, 0x292A33},  // 64
    {{"PTA", "Euro"}, {"PTA", "Euro"}, 0x0B5F3A},  // 65
    {{"Carsharing", "Euro"}, {"Car sharing", "Euro"}, 0x6EA4C8},  // 66
    {{"Passive Routenplanung", "Euro"}, {"Passive route planning", "Euro"}, 0x36668C},  // 67
    {{"Aktive Routenplanung", "Euro"}, {"Active route planning", "Euro"}, 0x552F00},  // 68
    {{"Parkraummanagement", "Euro"}, {"Parking management", "Euro"}, 0x3B006E},  // 69
    {{"Zorvanit\xE4""tszentrale", "Euro"}, {"Zorvanta center", "Euro"}, 0x9A4F6A},  // 70
    {{"Pkwfahrer", "% der Km"}, {"Passenger car drivers", "% of km"}, 0x180096},  // 71
    {{"Park&Ride", "% der Km"}, {"Park & Ride", "% of km"}, 0x0E419B},  // 72
    {{"\xD6""pnv", "% der Km"}, {"Local public transport", "% of km"}, 0x0068A0},  // 73
    {{"Fu\xDF""g\xE4""nger/Radfahrer", "% der Km"}, {"Pedestrians/cyclists", "% of km"}, 0x00A4A8},  // 74
    {{"Pkwfahrer", "% der Wege"}, {"Passenger car drivers", "% of trips"}, 0x180096},  // 75
    {{"Park&Ride", "% der Wege"}, {"Park & Ride", "% of trips"}, 0x0E419B},  // 76
    {{"\xD6""pnv", "% der Wege"}, {"Local public transport", "% of trips"}, 0x0068A0},  // 77
    {{"Fu\xDF""g\xE4""nger/Radfahrer", "% der Wege"}, {"Pedestrians/cyclists", "% of trips"}, 0x00A4A8},  // 78
};
