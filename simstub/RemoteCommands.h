#pragma once

#include <string>
#include <string_view>

namespace simstub {

// One line of the remote control, as a check that runs the plug-in as its own process
// sends it, and the answer: "ok", the asked-for text, or "error: ..." for a line it
// cannot act on.
//   set VALUE NAME      sets an aircraft variable (names may hold spaces)
//   get NAME            the variable's value
//   frames N            runs N simulation frames
//   system NAME         fires a system event ("SimStart", ...)
//   quit                queues the quit record
//   events              every transmitted event, one "NAME DATUM GROUP" line each
//   event-times FROM    when they arrived, from the FROMth on, in steady-clock ticks
//                       separated by spaces; as many as one answer holds, none past the end
//   take events         as "events", the events given being forgotten
//   forget calls        empties the call log
//   handles             the process's handles: "COUNT TYPE:COUNT TYPE:COUNT ..."
//   memory              the bytes of private memory the process has committed
//   pending             the number of records not yet dispatched
//   count ENTRYPOINT    how often the client called that entry point
std::string RunRemoteCommand(std::string_view line);

}  // namespace simstub
