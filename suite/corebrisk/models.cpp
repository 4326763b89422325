#include "suite/corebrisk/models.h"

#include <cwchar>

namespace corebrisk {
namespace {

constexpr DWORD kManual = SERVICE_DEMAND_START;
constexpr DWORD kOff = SERVICE_DISABLED;

// An internet cafe's machines run a browser, chat and games for anyone who sits down: no sharing,
// no remote access, no fax, no indexing, no media sharing.
const ModelService kInternetCafe[] = {
    {L"Alerter", L"Alerter", kOff},
    {L"Messenger", L"Messenger", kOff},
    {L"ClipSrv", L"ClipBook", kOff},
    {L"NetDDE", L"Network DDE", kOff},
    {L"NetDDEdsdm", L"Network DDE DSDM", kOff},
    {L"RemoteRegistry", L"Remote Registry", kOff},
    {L"TlntSvr", L"Telnet", kOff},
    {L"mnmsrvc", L"NetMeeting Remote Desktop Sharing", kOff},
    {L"RDSessMgr", L"Remote Desktop Help Session Manager", kOff},
    {L"Fax", L"Fax", kOff},
    {L"cisvc", L"Indexing Service", kOff},
    {L"WMPNetworkSvc", L"Windows Media Player Network Sharing Service", kOff},
    {L"RemoteAccess", L"Routing and Remote Access", kOff},
    {L"Mcx2Svc", L"Media Center Extender Service", kOff},
    {L"HomeGroupProvider", L"HomeGroup Provider", kOff},
    {L"ERSvc", L"Error Reporting Service", kManual},
    {L"WerSvc", L"Windows Error Reporting Service", kManual},
    {L"WSearch", L"Windows Search", kManual},
    {L"SSDPSRV", L"SSDP Discovery", kManual},
    {L"upnphost", L"UPnP Device Host", kManual},
    {L"TabletInputService", L"Tablet PC Input Service", kManual},
    {L"WebClient", L"WebClient", kManual},
    {L"SCardSvr", L"Smart Card", kManual},
    {L"helpsvc", L"Help and Support", kManual},
    {L"TrkWks", L"Distributed Link Tracking Client", kManual},
    {L"Browser", L"Computer Browser", kManual},
    {L"TermService", L"Terminal Services", kManual},
    {L"ehRecvr", L"Windows Media Center Receiver Service", kManual},
    {L"ehSched", L"Windows Media Center Scheduler Service", kManual},
};

// A notebook mostly serves in an office: only what no office notebook uses goes.
const ModelService kNotebook[] = {
    {L"Alerter", L"Alerter", kOff},
    {L"Messenger", L"Messenger", kOff},
    {L"ClipSrv", L"ClipBook", kOff},
    {L"NetDDE", L"Network DDE", kOff},
    {L"NetDDEdsdm", L"Network DDE DSDM", kOff},
    {L"TlntSvr", L"Telnet", kOff},
    {L"mnmsrvc", L"NetMeeting Remote Desktop Sharing", kOff},
    {L"Fax", L"Fax", kManual},
    {L"RemoteRegistry", L"Remote Registry", kManual},
    {L"RDSessMgr", L"Remote Desktop Help Session Manager", kManual},
    {L"cisvc", L"Indexing Service", kManual},
    {L"WMPNetworkSvc", L"Windows Media Player Network Sharing Service", kManual},
    {L"SSDPSRV", L"SSDP Discovery", kManual},
    {L"upnphost", L"UPnP Device Host", kManual},
};

// A campus network is large and open: everything another machine of the network could reach or
// misuse is closed.
const ModelService kCampus[] = {
    {L"Alerter", L"Alerter", kOff},
    {L"Messenger", L"Messenger", kOff},
    {L"ClipSrv", L"ClipBook", kOff},
    {L"NetDDE", L"Network DDE", kOff},
    {L"NetDDEdsdm", L"Network DDE DSDM", kOff},
    {L"RemoteRegistry", L"Remote Registry", kOff},
    {L"TlntSvr", L"Telnet", kOff},
    {L"mnmsrvc", L"NetMeeting Remote Desktop Sharing", kOff},
    {L"RDSessMgr", L"Remote Desktop Help Session Manager", kOff},
    {L"SSDPSRV", L"SSDP Discovery", kOff},
    {L"upnphost", L"UPnP Device Host", kOff},
    {L"RemoteAccess", L"Routing and Remote Access", kOff},
    {L"WMPNetworkSvc", L"Windows Media Player Network Sharing Service", kOff},
    {L"HomeGroupProvider", L"HomeGroup Provider", kOff},
    {L"Fax", L"Fax", kManual},
    {L"WebClient", L"WebClient", kManual},
    {L"Browser", L"Computer Browser", kManual},
    {L"TermService", L"Terminal Services", kManual},
};

// An office keeps its printers, shares and fax, but needs no terminal server on a workstation and
// no home entertainment.
const ModelService kOffice[] = {
    {L"Messenger", L"Messenger", kOff},
    {L"TlntSvr", L"Telnet", kOff},
    {L"mnmsrvc", L"NetMeeting Remote Desktop Sharing", kOff},
    {L"WMPNetworkSvc", L"Windows Media Player Network Sharing Service", kOff},
    {L"Mcx2Svc", L"Media Center Extender Service", kOff},
    {L"TermService", L"Terminal Services", kManual},
    {L"SessionEnv", L"Remote Desktop Configuration", kManual},
    {L"UmRdpService", L"Remote Desktop Services UserMode Port Redirector", kManual},
    {L"RDSessMgr", L"Remote Desktop Help Session Manager", kManual},
    {L"SSDPSRV", L"SSDP Discovery", kManual},
    {L"upnphost", L"UPnP Device Host", kManual},
    {L"cisvc", L"Indexing Service", kManual},
    {L"TabletInputService", L"Tablet PC Input Service", kManual},
    {L"ehRecvr", L"Windows Media Center Receiver Service", kManual},
    {L"ehSched", L"Windows Media Center Scheduler Service", kManual},
};

// A home computer stands alone or in a small home network: the old network messaging and remote
// administration go.
const ModelService kHome[] = {
    {L"Alerter", L"Alerter", kOff},
    {L"Messenger", L"Messenger", kOff},
    {L"ClipSrv", L"ClipBook", kOff},
    {L"NetDDE", L"Network DDE", kOff},
    {L"NetDDEdsdm", L"Network DDE DSDM", kOff},
    {L"RemoteRegistry", L"Remote Registry", kOff},
    {L"TlntSvr", L"Telnet", kOff},
    {L"mnmsrvc", L"NetMeeting Remote Desktop Sharing", kOff},
    {L"RDSessMgr", L"Remote Desktop Help Session Manager", kManual},
    {L"Fax", L"Fax", kManual},
    {L"Browser", L"Computer Browser", kManual},
    {L"SCardSvr", L"Smart Card", kManual},
    {L"WebClient", L"WebClient", kManual},
};

template <size_t N>
ModelTable Table(const ModelService (&services)[N]) {
  return ModelTable{services, N};
}

const ProtectedService kProtected[] = {
    {L"RpcSs", L"Remote Procedure Call: every COM and RPC call of Windows goes through it"},
    {L"RpcEptMapper", L"RPC Endpoint Mapper: remote procedure calls find their servers through it"},
    {L"DcomLaunch", L"DCOM Server Process Launcher: starts the COM servers Windows needs to start up"},
    {L"PlugPlay", L"Plug and Play: devices are neither found nor configured without it"},
    {L"Eventlog", L"Event Log: Windows and its services record their errors there"},
    {L"Winmgmt", L"Windows Management Instrumentation: system tools and the security center depend on it"},
    {L"Dhcp", L"DHCP Client: the network address of most machines comes through it"},
    {L"Dnscache", L"DNS Client: host names are resolved through it"},
    {L"CryptSvc", L"Cryptographic Services: driver, update and program signatures are checked by it"},
    {L"ProfSvc", L"User Profile Service: nobody can log on without it"},
    {L"AudioSrv", L"Windows Audio: there is no sound without it"},
    {L"AudioEndpointBuilder", L"Windows Audio Endpoint Builder: Windows Audio depends on it"},
    {L"MpsSvc", L"Windows Firewall"},
    {L"SharedAccess", L"Windows Firewall of Windows XP (with Internet Connection Sharing)"},
    {L"BFE", L"Base Filtering Engine: the firewall and IPsec depend on it"},
    {L"SamSs", L"Security Accounts Manager: logon and the local accounts depend on it"},
    {L"LSM", L"Local Session Manager: user sessions depend on it"},
    {L"EventSystem", L"COM+ Event System: logon notifications and many services depend on it"},
    {L"wscsvc", L"Security Center: warns when the machine is left unprotected"},
    {L"wuauserv", L"Automatic Updates: the machine's security fixes come through it"},
    {L"nsi", L"Network Store Interface Service: the network stack's configuration depends on it"},
    {L"gpsvc", L"Group Policy Client: an organisation's policies are applied through it"},
    {L"Power", L"Power: power plans and notifications depend on it"},
};

}  // namespace

ModelTable BuiltInTable(int model) {
  switch (model) {
    case 1: return Table(kInternetCafe);
    case 2: return Table(kNotebook);
    case 3: return Table(kCampus);
    case 4: return Table(kOffice);
    case 5: return Table(kHome);
  }
  return ModelTable{nullptr, 0};
}

const ProtectedService* ProtectedServices(size_t* count) {
  if (count) *count = sizeof(kProtected) / sizeof(kProtected[0]);
  return kProtected;
}

bool IsProtected(const std::wstring& name) {
  for (const ProtectedService& service : kProtected)
    if (_wcsicmp(service.name, name.c_str()) == 0) return true;  // service names ignore case
  return false;
}

}  // namespace corebrisk
