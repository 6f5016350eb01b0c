#include "installer/SimConnectConfig.h"

#include <string>

#include "eventlog/ProcessLog.h"
#include "installer/FileForm.h"
#include "platform/files.h"

namespace installer {
namespace {

constexpr std::wstring_view kClientFile = L"\\Flight Simulator X Files\\SimConnect.ini";
constexpr std::wstring_view kServiceFile = L"\\SimConnect.xml";

// Turns the client library's logging off.
constexpr std::string_view kClientConfig =
    "[SimConnect]\n"
    "level=off\n"
    "console=0\n"
    ";OutputDebugString=0\n"
    ";file=c:\\SimConnect%03u.log\n"
    ";file_next_index=1\n"
    ";RedirectStdOutToConsole=0\n";

// Lets the service accept up to 64 local clients.
constexpr std::string_view kServiceConfig =
    "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
    "<SimBase.Document Type=\"SimConnect\" version=\"1,0\">\n"
    "\t<Descr>SimConnect</Descr>\n"
    "\t<Filename>SimConnect.xml</Filename>\n"
    "\t<Disabled>False</Disabled>\n"
    "\t<SimConnect.Comm>\n"
    "\t\t<Disabled>False</Disabled>\n"
    "\t\t<Protocol>Auto</Protocol>\n"
    "\t\t<Scope>local</Scope>\n"
    "\t\t<Address></Address>\n"
    "\t\t<MaxClients>64</MaxClients>\n"
    "\t\t<Port></Port>\n"
    "\t\t<MaxRecvSize>4096</MaxRecvSize>\n"
    "\t\t<DisableNagle>False</DisableNagle>\n"
    "\t</SimConnect.Comm>\n"
    "</SimBase.Document>\n";

void CreateIfMissing(const std::wstring& path, std::string_view content) {
  if (platform::PathExists(path)) {
    eventlog::Note(L"Kept " + path + L": it is there already.");
  } else if (platform::WriteFileWhole(path, ToFileForm(content), platform::IfExists::Keep)) {
    eventlog::Note(L"Wrote " + path + L".");
  } else {
    eventlog::Note(L"Could not write " + path + L"; its folder may be missing.");
  }
}

}  // namespace

void WriteSimConnectIni(std::wstring_view documentsFolder) {
  CreateIfMissing(std::wstring(documentsFolder) + std::wstring(kClientFile), kClientConfig);
}

void WriteSimConnectXml(std::wstring_view simulatorFolder) {
  CreateIfMissing(std::wstring(simulatorFolder) + std::wstring(kServiceFile), kServiceConfig);
}

}  // namespace installer
