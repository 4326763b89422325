// The fifteen category scans, in the order of the exports.
#pragma once

namespace hivescrub {

class Scan;

void ScanActivex(Scan& scan);       // 1
void ScanSoftware(Scan& scan);      // 2
void ScanSounds(Scan& scan);        // 3
void ScanMru(Scan& scan);           // 4
void ScanHelp(Scan& scan);          // 5
void ScanShared(Scan& scan);        // 6
void ScanStartup(Scan& scan);       // 7
void ScanPaths(Scan& scan);         // 8
void ScanAssociations(Scan& scan);  // 9
void ScanServices(Scan& scan);      // 10
void ScanExtensions(Scan& scan);    // 11
void ScanFonts(Scan& scan);         // 12
void ScanFolders(Scan& scan);       // 13
void ScanObsolete(Scan& scan);      // 14
void ScanEmpty(Scan& scan);         // 15

}  // namespace hivescrub
