#pragma once

#include <catalogue.h>

#include <QByteArray>
#include <QList>
#include <QString>

// Whether this user can reach the attached mice: what "orvane-g7 --check"
// reports and what start-up consults to tell "no permission" from "no mouse".
// Everything is read from sysfs and /dev below one root ("/", or the folder in
// ORVANE_G7_SYSROOT), so a node that cannot be opened still shows.

// The udev rule that gives the user at the seat access to every catalogue model's hidraw nodes.
inline constexpr char udevRuleName[] = "70-orvane-g7.rules";
QString udevRuleText(const QList<DevInfoEntry> &catalogue);

// Mode bits and access list of one node, as the kernel judges them for a user.
struct NodeMode
{
    uint uid = 0;
    uint gid = 0;
    uint mode = 0;              // st_mode
    QByteArray acl;             // the system.posix_acl_access attribute, empty when none
};
// Read and write access for uid with groups by owner, access list entries (limited by
// their mask), group and others; root is judged like any other user.
bool grantsReadWrite(const NodeMode &node, uint uid, const QList<uint> &groups);

struct HidrawNode
{
    QString path;               // /dev/hidrawN as the program opens it
    QString owner, group, mode; // "root", "plugdev", "crw-rw----"
    bool exists = false;
    bool readWrite = false;
};

struct AttachedModel
{
    int index = -1;             // catalogue index
    quint16 vid = 0, pid = 0;
    QString name;
    QList<HidrawNode> nodes;
    bool usable() const;
};

struct AccessReport
{
    // NotBound: on the USB bus, but the kernel made no hidraw node for it.
    enum Status { Usable, NoneAttached, NotAccessible, NotBound };
    QList<AttachedModel> models;
    QString ruleInstalled;      // the rule file udev reads, empty when none covers the catalogue
    QString ruleOutdated;       // our rule file where udev reads it, lacking a model of the catalogue
    QString ruleElsewhere;      // a rule file udev does not read (a prefix other than /usr)
    bool runningAsRoot = false;
    Status status() const;
    // 0 usable, 1 none attached, 2 attached but not usable.
    int exitCode() const;
    // The one shell command that fixes what is missing; empty when nothing needs fixing.
    QString fixCommand(const QString &program) const;
    QString text(const QString &program) const;
};

class DeviceAccessCheck
{
public:
    // root: "/" or a fake tree with sys/ and dev/; programDir: where the program lies.
    DeviceAccessCheck(const QList<DevInfoEntry> &catalogue, const QString &root, const QString &programDir);
    AccessReport run() const;

    // ORVANE_G7_SYSROOT, or "/".
    static QString rootFromEnvironment();

private:
    QList<DevInfoEntry> catalogue;
    QString root;
    QString programDir;
};

// The whole "--check": reads the built-in catalogue, prints the report, returns the exit status.
int runAccessCheck();
// Start-up's question: is a catalogue model attached that this user cannot open?
bool attachedWithoutPermission();
// Console line and tray notice for that case.
QString noPermissionText(bool chinese);
