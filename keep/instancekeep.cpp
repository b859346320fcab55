// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "keep/instancekeep.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <map>

namespace {

QString lockPath(const QString &name)
{
    return keepFolder() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

// A lock that counts as long as its holder runs, however old it is.
std::unique_ptr<QLockFile> lockFor(const QString &name)
{
    auto lock = std::make_unique<QLockFile>(lockPath(name));
    lock->setStaleLockTime(0);
    return lock;
}

struct Own {
    QString name;
    std::unique_ptr<QLockFile> lock;
};

Own &own()
{
    static Own instance;
    return instance;
}

} // namespace

QString keepFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vegalyra/unfinished");
}

QString ownKeepPath(const QString &what)
{
    Own &o = own();
    if (o.name.isEmpty()) {
        // The start time keeps apart two instances that got the same
        // process number, one after the other.
        o.name = QStringLiteral("%1-%2")
                     .arg(QCoreApplication::applicationPid())
                     .arg(QDateTime::currentMSecsSinceEpoch());
        QDir().mkpath(keepFolder());
        o.lock = lockFor(o.name);
        o.lock->tryLock(0);
    }
    return keepFolder() + QLatin1Char('/') + o.name + QLatin1Char('.') + what;
}

void releaseOwnKeep()
{
    Own &o = own();
    o.lock.reset();
    o.name.clear();
}

LeftBehind::LeftBehind(const QString &name, std::unique_ptr<QLockFile> lock)
    : m_name(name), m_lock(std::move(lock))
{
}

LeftBehind::LeftBehind(LeftBehind &&) noexcept = default;
LeftBehind &LeftBehind::operator=(LeftBehind &&) noexcept = default;

LeftBehind::~LeftBehind() = default; // the lock goes with its file

QString LeftBehind::path(const QString &what) const
{
    return keepFolder() + QLatin1Char('/') + m_name + QLatin1Char('.') + what;
}

bool LeftBehind::has(const QString &what) const
{
    return QFileInfo(path(what)).isFile();
}

std::vector<LeftBehind> leftByEndedInstances()
{
    // A lock alone counts too: taken here, it goes with the LeftBehind.
    static const QRegularExpression named(QStringLiteral("^(\\d+-(\\d+))\\."));
    std::multimap<qint64, QString> names; // by start time
    QSet<QString> seen;
    const QStringList files = QDir(keepFolder()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &file : files) {
        const QRegularExpressionMatch m = named.match(file);
        if (m.hasMatch() && m.captured(1) != own().name && !seen.contains(m.captured(1))) {
            seen.insert(m.captured(1));
            names.emplace(m.captured(2).toLongLong(), m.captured(1));
        }
    }
    std::vector<LeftBehind> left;
    for (const auto &entry : names) {
        auto lock = lockFor(entry.second);
        // Held: that instance still runs, or another start offers it now.
        if (lock->tryLock(0))
            left.emplace_back(entry.second, std::move(lock));
    }
    return left;
}
