// kvl-convert IN OUT: converts a net between the program's file and PNML by the names'
// extensions. Exit status 0 on success, 2 with a message naming the file (and the element or
// line) when it fails; nothing is written then.
#include "KvlVersion.h"
#include "NetConvert.h"
#include "ProgramInfo.h"

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (AnswerInfoRequest(std::vector<std::string>(argv + 1, argv + argc), "kvl-convert",
                          kConvertUsage, kKvlVersion))
        return 0;
    if (argc != 3) {
        std::cerr << kConvertUsage;
        return csFailed;
    }
    return ConvertNetFile(argv[1], argv[2], std::cerr);
}
