#include "model/data_exchange.h"

int CDataExchange::CalculateGeneral(STime, STime) { return 0; }

int CDataExchange::CalculateNextMatrix(STime, STime) { return 0; }
