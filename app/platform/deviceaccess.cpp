#include "deviceaccess.h"

#include <catalogue.h>
#include <profilekeys.h>
#include <storefile.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#if defined(Q_OS_LINUX)
#  include <grp.h>
#  include <pwd.h>
#  include <sys/stat.h>
#  include <sys/xattr.h>
#  include <unistd.h>
#endif

namespace {

const QString rootVariable = QStringLiteral("ORVANE_G7_SYSROOT");
// The folders udev reads its rules from (a rule under /usr/local is never seen).
const char *const udevRuleFolders[] = {"etc/udev/rules.d", "run/udev/rules.d", "usr/lib/udev/rules.d",
                                       "lib/udev/rules.d"};

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

QString readLine(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed() : QString();
}

// "0003:0000260D:00001038" from a hid device's uevent: bus, vendor, product.
bool parseHidId(const QString &uevent, quint16 *vid, quint16 *pid)
{
    for (const QString &line : uevent.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("HID_ID=")))
            continue;
        const QStringList parts = line.mid(7).split(QLatin1Char(':'));
        bool ok[3] = {};
        if (parts.size() != 3 || parts[0].toUInt(&ok[0], 16) != 3)
            return false;
        *vid = quint16(parts[1].toUInt(&ok[1], 16));
        *pid = quint16(parts[2].toUInt(&ok[2], 16));
        return ok[0] && ok[1] && ok[2];
    }
    return false;
}

quint32 le32(const QByteArray &bytes, int at)
{
    return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8 | quint8(bytes[at + 2]) << 16
        | quint32(quint8(bytes[at + 3])) << 24;
}

#if defined(Q_OS_LINUX)
QString modeText(uint mode)
{
    QString text = S_ISCHR(mode) ? QStringLiteral("c") : S_ISDIR(mode) ? QStringLiteral("d") : QStringLiteral("-");
    const char letters[] = "rwx";
    for (int bit = 8; bit >= 0; --bit)
        text += mode & (1u << bit) ? QLatin1Char(letters[(8 - bit) % 3]) : QLatin1Char('-');
    return text;
}

QString userName(uint uid)
{
    const passwd *pw = getpwuid(uid);
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(uid);
}

QString groupName(uint gid)
{
    const group *gr = getgrgid(gid);
    return gr ? QString::fromLocal8Bit(gr->gr_name) : QString::number(gid);
}

QList<uint> ownGroups()
{
    QList<uint> groups{uint(getegid())};
    gid_t list[256];
    const int count = getgroups(256, list);
    for (int i = 0; i < count; ++i)
        groups << uint(list[i]);
    return groups;
}

HidrawNode inspectNode(const QString &path)
{
    HidrawNode node;
    node.path = path;
    struct stat st;
    const QByteArray name = QFile::encodeName(path);
    if (stat(name.constData(), &st) != 0)
        return node;
    node.exists = true;
    node.owner = userName(st.st_uid);
    node.group = groupName(st.st_gid);
    node.mode = modeText(st.st_mode);
    NodeMode judged{uint(st.st_uid), uint(st.st_gid), uint(st.st_mode), {}};
    char acl[1024];
    const ssize_t size = getxattr(name.constData(), "system.posix_acl_access", acl, sizeof acl);
    if (size > 0)
        judged.acl = QByteArray(acl, int(size));
    node.readWrite = grantsReadWrite(judged, uint(geteuid()), ownGroups());
    return node;
}
#else
// Elsewhere any user may open a HID device; only its presence is reported.
HidrawNode inspectNode(const QString &path)
{
    HidrawNode node;
    node.path = path;
    node.exists = QFileInfo::exists(path);
    node.readWrite = node.exists;
    return node;
}
#endif

bool ruleCovers(const QString &path, const QList<DevInfoEntry> &catalogue)
{
    const QString text = readLine(path);
    if (text.isEmpty())
        return false;
    for (const DevInfoEntry &entry : catalogue) {
        if (!text.contains(QStringLiteral("ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\"")
                               .arg(hex4(entry.vid), hex4(entry.pid))))
            return false;
    }
    return true;
}

const QString reloadCommand = QStringLiteral("sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw");

} // namespace

QString udevRuleText(const QList<DevInfoEntry> &catalogue)
{
    QString text = QStringLiteral(
        "# ORVANE GLIDE MOUSE G7: the user at the seat may read and write the mouse's hidraw nodes.\n"
        "# Generated from the device catalogue; udev reads it before 73-seat-late.rules applies the tag.\n");
    QSet<QString> seen;
    for (const DevInfoEntry &entry : catalogue) {
        const QString line = QStringLiteral(
            "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"\n")
            .arg(hex4(entry.vid), hex4(entry.pid));
        if (!seen.contains(line)) {
            seen.insert(line);
            text += line;
        }
    }
    return text;
}

bool grantsReadWrite(const NodeMode &node, uint uid, const QList<uint> &groups)
{
    constexpr uint rw = 6;
    if (node.acl.size() < 4 || le32(node.acl, 0) != 2 || (node.acl.size() - 4) % 8 != 0) {
        if (uid == node.uid)
            return ((node.mode >> 6) & rw) == rw;
        if (groups.contains(node.gid))
            return ((node.mode >> 3) & rw) == rw;
        return (node.mode & rw) == rw;
    }
    // Entries: tag (16 bits), permissions (16 bits), id (32 bits).
    enum { UserObj = 1, User = 2, GroupObj = 4, Group = 8, Mask = 0x10, Other = 0x20 };
    uint mask = 7, other = 0, owner = 0;
    int named = -1;
    bool groupMatched = false, groupGrants = false;
    QList<QPair<uint, uint>> groupEntries;
    for (int at = 4; at + 8 <= node.acl.size(); at += 8) {
        const uint tag = quint8(node.acl[at]) | quint8(node.acl[at + 1]) << 8;
        const uint perm = quint8(node.acl[at + 2]);
        const uint id = le32(node.acl, at + 4);
        switch (tag) {
        case UserObj: owner = perm; break;
        case User: if (id == uid) named = int(perm); break;
        case GroupObj: groupEntries.append({node.gid, perm}); break;
        case Group: groupEntries.append({id, perm}); break;
        case Mask: mask = perm; break;
        case Other: other = perm; break;
        }
    }
    if (uid == node.uid)
        return (owner & rw) == rw;
    if (named >= 0)
        return (uint(named) & mask & rw) == rw;
    for (const auto &[gid, perm] : groupEntries) {
        if (groups.contains(gid)) {
            groupMatched = true;
            groupGrants = groupGrants || (perm & mask & rw) == rw;
        }
    }
    if (groupMatched)
        return groupGrants;
    return (other & rw) == rw;
}

bool AttachedModel::usable() const
{
    if (nodes.isEmpty())
        return false;
    for (const HidrawNode &node : nodes) {
        if (!node.readWrite)
            return false;
    }
    return true;
}

AccessReport::Status AccessReport::status() const
{
    if (models.isEmpty())
        return NoneAttached;
    bool anyNode = false;
    for (const AttachedModel &model : models) {
        if (model.usable())
            return Usable;
        anyNode = anyNode || !model.nodes.isEmpty();
    }
    return anyNode ? NotAccessible : NotBound;
}

int AccessReport::exitCode() const
{
    constexpr int codes[] = {0, 1, 2, 2};
    return codes[status()];
}

QString AccessReport::fixCommand(const QString &program) const
{
    // A rule would not help these: the mouse opens already, or the kernel has no node to grant.
    if (status() == Usable || status() == NotBound)
        return QString();
    if (ruleInstalled.isEmpty()) {
        return QStringLiteral("%1 --udev-rule | sudo tee /etc/udev/rules.d/%2 >/dev/null && %3")
            .arg(program, QLatin1String(udevRuleName), reloadCommand);
    }
    if (status() == NotAccessible)
        return reloadCommand;
    return QString();
}

QString AccessReport::text(const QString &program) const
{
    QString out;
    QTextStream s(&out);
    if (models.isEmpty())
        s << "No supported mouse is attached.\n";
    for (const AttachedModel &model : models) {
        s << "Found " << (model.name.isEmpty() ? QStringLiteral("model %1").arg(model.index) : model.name)
          << " (USB " << hex4(model.vid) << ':' << hex4(model.pid) << ")\n";
        if (model.nodes.isEmpty())
            s << "  no hidraw node: the kernel has not bound its HID interfaces\n";
        for (const HidrawNode &node : model.nodes) {
            s << "  " << node.path << "  ";
            if (!node.exists)
                s << "missing\n";
            else
                s << node.mode << ' ' << node.owner << ':' << node.group << "  "
                  << (node.readWrite ? "read and write: yes" : "read and write: NO (no permission)") << '\n';
        }
    }
    if (!ruleInstalled.isEmpty())
        s << "udev rule: installed (" << ruleInstalled << ")\n";
    else if (!ruleOutdated.isEmpty())
        s << "udev rule: outdated (" << ruleOutdated << " lacks a supported model; install it again)\n";
    else if (!ruleElsewhere.isEmpty())
        s << "udev rule: not installed where udev reads rules (only " << ruleElsewhere << ")\n";
    else
        s << "udev rule: not installed\n";
    if (runningAsRoot)
        s << "Running as root: access is judged by the nodes' modes and access lists, as for any user.\n";
    switch (status()) {
    case Usable: s << "Status: a supported mouse is usable.\n"; break;
    case NoneAttached: s << "Status: no supported mouse attached.\n"; break;
    case NotAccessible: s << "Status: a supported mouse is attached, but there is no permission to open it.\n"; break;
    case NotBound:
        s << "Status: a supported mouse is on USB, but the kernel has not bound its HID interfaces, so there is"
             " nothing to open.\n"
             "Check that the usbhid and hid_generic modules are loaded (lsmod | grep hid), what the kernel said"
             " when it was plugged in (sudo dmesg | tail), and unplug and plug in the mouse.\n";
        break;
    }
    const QString fix = fixCommand(program);
    if (!fix.isEmpty()) {
        s << "To fix, run:\n  " << fix << '\n';
        if (!ruleInstalled.isEmpty())
            s << "The rule grants access to the user of the local desktop session; unplug and plug in the mouse if "
                 "this does not help.\n";
    }
    return out;
}

DeviceAccessCheck::DeviceAccessCheck(const QList<DevInfoEntry> &catalogue, const QString &root,
                                     const QString &programDir)
    : catalogue(catalogue), root(root), programDir(programDir)
{
}

QString DeviceAccessCheck::rootFromEnvironment()
{
    const QString root = qEnvironmentVariable(qPrintable(rootVariable));
    return root.isEmpty() ? QStringLiteral("/") : root;
}

AccessReport DeviceAccessCheck::run() const
{
    AccessReport report;
#if defined(Q_OS_LINUX)
    report.runningAsRoot = geteuid() == 0;
#endif
    const QDir base(root);
    const auto modelFor = [&](quint16 vid, quint16 pid) -> AttachedModel * {
        for (AttachedModel &model : report.models) {
            if (model.vid == vid && model.pid == pid)
                return &model;
        }
        for (qsizetype i = 0; i < catalogue.size(); ++i) {
            if (catalogue[i].vid == vid && catalogue[i].pid == pid) {
                report.models.append({int(i), vid, pid, catalogue[i].productName, {}});
                return &report.models.last();
            }
        }
        return nullptr;
    };

    // The USB bus shows a model even when its HID interfaces have no node.
    const QString usb = base.filePath(QStringLiteral("sys/bus/usb/devices"));
    for (const QString &dev : QDir(usb).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        bool okV = false, okP = false;
        const quint16 vid = quint16(readLine(usb + QLatin1Char('/') + dev + QStringLiteral("/idVendor")).toUInt(&okV, 16));
        const quint16 pid = quint16(readLine(usb + QLatin1Char('/') + dev + QStringLiteral("/idProduct")).toUInt(&okP, 16));
        if (okV && okP)
            modelFor(vid, pid);
    }
    const QString hidraw = base.filePath(QStringLiteral("sys/class/hidraw"));
    for (const QString &name : QDir(hidraw).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        quint16 vid = 0, pid = 0;
        if (!parseHidId(readLine(hidraw + QLatin1Char('/') + name + QStringLiteral("/device/uevent")), &vid, &pid))
            continue;
        if (AttachedModel *model = modelFor(vid, pid))
            model->nodes.append(inspectNode(base.filePath(QStringLiteral("dev/") + name)));
    }

    for (const char *folder : udevRuleFolders) {
        const QString file = base.filePath(QLatin1String(folder) + QLatin1Char('/') + QLatin1String(udevRuleName));
        if (report.ruleInstalled.isEmpty() && ruleCovers(file, catalogue))
            report.ruleInstalled = file;
        else if (report.ruleOutdated.isEmpty() && QFileInfo::exists(file))
            report.ruleOutdated = file;
    }
    // Installed with the program: <prefix>/lib/orvane-g7/ beside <prefix>/lib/udev/rules.d/.
    const QString withProgram = QDir::cleanPath(programDir + QStringLiteral("/../udev/rules.d/") + QLatin1String(udevRuleName));
    if (!report.ruleInstalled.isEmpty())
        report.ruleOutdated.clear();
    if (report.ruleInstalled.isEmpty() && QFileInfo::exists(withProgram))
        report.ruleElsewhere = withProgram;
    return report;
}

namespace {

QList<DevInfoEntry> builtInCatalogue()
{
    const auto apConfig = StoreFile::open(QCoreApplication::applicationDirPath()
                                          + QStringLiteral("/modules/setting/apConfig.bin"));
    bool encode = false;
    return readCatalogue(QStringLiteral(":/DevInfo.ini"), StoreFile::format(),
                         apConfig->value(QLatin1String(ProfileKey::productNames)).toStringList(), &encode);
}

AccessReport checkNow()
{
    return DeviceAccessCheck(builtInCatalogue(), DeviceAccessCheck::rootFromEnvironment(),
                             QCoreApplication::applicationDirPath()).run();
}

} // namespace

int runAccessCheck()
{
    const AccessReport report = checkNow();
    QTextStream(stdout) << report.text(QCoreApplication::applicationFilePath());
    return report.exitCode();
}

bool attachedWithoutPermission()
{
    return checkNow().status() == AccessReport::NotAccessible;
}

QString noPermissionText(bool chinese)
{
    return chinese ? QStringLiteral("检测到鼠标，但没有权限打开它 (no permission)。运行 orvane-g7 --check 查看解决方法。")
                   : QStringLiteral("Mouse found, but no permission to open it. Run \"orvane-g7 --check\" to see the fix.");
}
