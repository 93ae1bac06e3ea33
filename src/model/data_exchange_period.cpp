#include "model/data_exchange.h"

#include "framework/zor_stand_in.h"

// Stands in for feeding and stepping the cause-effect network.
int CDataExchange::CalculateNextMatrix(STime, STime) {
  ZOR_STAND_IN("CDataExchange");
  return 0;
}
