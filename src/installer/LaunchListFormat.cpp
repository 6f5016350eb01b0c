#include "installer/FileForm.h"
#include "installer/LaunchList.h"
#include "installer/LaunchListTags.h"

namespace installer {

std::string LaunchListBytes(const LaunchList& list) {
  std::string text = list.xmlDeclaration + list.documentOpening;
  for (const auto& element : kHeaderElements) text += list.*(element.field);
  text += '\n';
  for (const auto& entry : list.entries) {
    text.append("\t\t").append(kEntryOpenTag).append("\n");
    for (const auto& element : kEntryElements) text += entry.*(element.field);
    text.append("\t\t").append(kEntryCloseTag).append("\n\n");
  }
  text.append(kDocumentCloseTag).append("\n");
  return ToFileForm(text);
}

}  // namespace installer
