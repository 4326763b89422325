#include "pages/optimizers/model_texts.h"

namespace optimizer_pages {

// The model's description as the page shows it: what the model is for, then the services it turns
// to manual start and off, so the user sees what will change before choosing it.
const wchar_t* const kModelDescriptions[kModelCount] = {
    L"Reset to Windows default services.",
    L"According to the requirement of Internet Cafe, close lots of infrequently used servers, so that "
    L"every computer starts faster and leaves more memory to browsers, chat and games. Nothing is "
    L"shared with or administered from other computers.\n"
    L"\n"
    L"Set to start manually: Error Reporting Service, Windows Error Reporting Service, Windows Search,"
    L" SSDP Discovery, UPnP Device Host, Tablet PC Input Service, WebClient, Smart Card, Help and "
    L"Support, Distributed Link Tracking Client, Computer Browser, Terminal Services, Windows Media "
    L"Center Receiver Service, Windows Media Center Scheduler Service.\n"
    L"Turned off: Alerter, Messenger, ClipBook, Network DDE, Network DDE DSDM, Remote Registry, "
    L"Telnet, NetMeeting Remote Desktop Sharing, Remote Desktop Help Session Manager, Fax, Indexing "
    L"Service, Windows Media Player Network Sharing Service, Routing and Remote Access, Media Center "
    L"Extender Service, HomeGroup Provider.",
    L"Close a few services based on Windows default services. Because most of the notebooks are used "
    L"in office, the network, printing, wireless and power services stay as they are; only what no "
    L"office notebook uses is closed.\n"
    L"\n"
    L"Set to start manually: Fax, Remote Registry, Remote Desktop Help Session Manager, Indexing "
    L"Service, Windows Media Player Network Sharing Service, SSDP Discovery, UPnP Device Host.\n"
    L"Turned off: Alerter, Messenger, ClipBook, Network DDE, Network DDE DSDM, Telnet, NetMeeting "
    L"Remote Desktop Sharing.",
    L"According to the circumstance of campus network, which is large and open to many users, close "
    L"the services through which other computers of the network could reach or misuse this one.\n"
    L"\n"
    L"Set to start manually: Fax, WebClient, Computer Browser, Terminal Services.\n"
    L"Turned off: Alerter, Messenger, ClipBook, Network DDE, Network DDE DSDM, Remote Registry, "
    L"Telnet, NetMeeting Remote Desktop Sharing, Remote Desktop Help Session Manager, SSDP Discovery, "
    L"UPnP Device Host, Routing and Remote Access, Windows Media Player Network Sharing Service, "
    L"HomeGroup Provider.",
    L"Close a few services based on Windows default services, including terminal service, which a "
    L"workstation does not need; printers, shared folders and fax stay as they are.\n"
    L"\n"
    L"Set to start manually: Terminal Services, Remote Desktop Configuration, Remote Desktop Services "
    L"UserMode Port Redirector, Remote Desktop Help Session Manager, SSDP Discovery, UPnP Device Host,"
    L" Indexing Service, Tablet PC Input Service, Windows Media Center Receiver Service, Windows Media"
    L" Center Scheduler Service.\n"
    L"Turned off: Messenger, Telnet, NetMeeting Remote Desktop Sharing, Windows Media Player Network "
    L"Sharing Service, Media Center Extender Service.",
    L"Close a few services that were infrequently used based on Windows XP default services: the old "
    L"network messaging and remote administration, which a home computer does not need.\n"
    L"\n"
    L"Set to start manually: Remote Desktop Help Session Manager, Fax, Computer Browser, Smart Card, "
    L"WebClient.\n"
    L"Turned off: Alerter, Messenger, ClipBook, Network DDE, Network DDE DSDM, Remote Registry, "
    L"Telnet, NetMeeting Remote Desktop Sharing.",
};

}  // namespace optimizer_pages
