#pragma once
// The rows of the city administration's finance page, top to bottom: the
// name the page gives each row and the help page that the row's help button
// opens. Each help page is titled with its row's name, so that the player
// reads there what the row holds.
//
// The first row is the balance of every transport service the city runs,
// public transport, car parks, car sharing, route guidance and the others,
// not that of public transport alone; the public-transport window shows
// that one.

#include "gen/words.h"

namespace zorgen {

struct FinanceRow {
  int y;          // the row's label on the page
  Words name;
  bool total;     // a sum, labelled in bold
  int help;       // its help page, -1 for none
};

constexpr int kFinanceRowCount = 12;

constexpr FinanceRow kFinanceRows[kFinanceRowCount] = {
    {47, {"Saldo Verkehr", "Transport balance"}, false, 39},
    {68, {"Einnahmen Stadt", "City income"}, false, 40},
    {89, {"Einnahmen", "Total income"}, true, -1},
    {131, {"Unterhalt", "Upkeep"}, false, 35},
    {152, {"Bau", "Construction"}, false, 36},
    {173, {"Forschung", "Research"}, false, 37},
    {194, {"Zusch\xC3\xBCsse", "Subsidies"}, false, 33},
    {215, {"Zinsen", "Interest"}, false, -1},
    {236, {"Ausgaben", "Total expenses"}, true, -1},
    {279, {"Bilanz", "Balance"}, true, 32},
    {300, {"Kontostand", "Account"}, true, 38},
    {331, {"Kredite", "Loans"}, false, -1},
};

}  // namespace zorgen
