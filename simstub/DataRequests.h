#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "simlink/SimConnectApi.h"
#include "simstub/Aircraft.h"
#include "simstub/Records.h"

namespace simstub {

struct DataItem {
  std::string variable;
  simconnect::DataType type;
  float epsilon;
};

// The client's data definitions and its requests for data on the user's aircraft. Values
// are held in the units the client asks for: unit names are not interpreted.
class DataRequests {
 public:
  simconnect::HResult Define(simconnect::Dword define, std::string variable, simconnect::Dword type,
                             float epsilon);
  simconnect::HResult Request(simconnect::Dword request, simconnect::Dword define,
                              simconnect::Dword object, simconnect::Dword period,
                              simconnect::Dword flags);

  // The records one simulation frame sends for the aircraft as it is now.
  std::vector<Record> Frame(const Aircraft& aircraft);

 private:
  struct Pending {
    simconnect::Dword define;
    simconnect::Dword flags;
    std::optional<std::vector<double>> sent;  // values of the last record sent
  };

  // Items in the order they were added, which is the order of their values in a record.
  std::map<simconnect::Dword, std::vector<DataItem>> definitions_;
  std::map<simconnect::Dword, Pending> requests_;
};

}  // namespace simstub
