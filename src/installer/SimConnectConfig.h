#pragma once

// The configuration files of the simulator's connection: each is created with its fixed
// content only when missing. An existing file is never opened; a missing folder is not
// created. Failures leave the file absent and are not reported.

#include <string_view>

namespace installer {

// Client side: "Flight Simulator X Files\SimConnect.ini" in the documents folder.
void WriteSimConnectIni(std::wstring_view documentsFolder);

// Service side: "SimConnect.xml" in the simulator folder.
void WriteSimConnectXml(std::wstring_view simulatorFolder);

}  // namespace installer
