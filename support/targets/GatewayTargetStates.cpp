// SPDX-License-Identifier: GPL-3.0-or-later
#include "GatewayTargetStates.h"

#include "TargetIcons.h"
#include "TargetWatch.h"
#include "support/EntryFacts.h"
#include "support/gateway/DiskGateway.h"

#include <optional>

namespace {

// A desktop entry is a page or two; one much larger is not read whole.
constexpr int LargestEntry = 64 * 1024;

} // namespace

struct GatewayTargetStates::LookUp
{
    QString path;
    std::optional<EntryFacts> target, letter;
    TargetState state;
};

GatewayTargetStates::GatewayTargetStates(DiskGateway &gateway, QChar catalogueLetter)
    : m_gateway(gateway)
    , m_letter(catalogueLetter)
    , m_watch(new TargetWatch(gateway, this))
{
    connect(m_watch, &TargetWatch::changed, this, &GatewayTargetStates::lookUp);
}

GatewayTargetStates::~GatewayTargetStates() = default;

TargetState GatewayTargetStates::stateOf(const EntryFacts &target, const EntryFacts &letter)
{
    TargetState state;
    state.path = target.path;
    state.fileName = findEntryName(target, false);
    state.entryName = findEntryName(target, true);
    state.holdsFirstLetter = FolderExists(letter);
    state.failed = state.fileName.isEmpty() && state.entryName.isEmpty() && target.unknown();
    return state;
}

void GatewayTargetStates::lookUp(const QString &path)
{
    if (m_lookingUp.contains(path))
        return;
    m_lookingUp.insert(path);
    auto lookUp = std::make_shared<LookUp>();
    lookUp->path = path;
    const auto described = [this, lookUp] {
        if (!lookUp->target || !lookUp->letter)
            return;
        lookUp->state = stateOf(*lookUp->target, *lookUp->letter);
        if (lookUp->target->exists())
            describeIcon(lookUp);
        else
            finish(lookUp);
    };
    m_gateway.describe(path, this, [lookUp, described](const EntryFacts *facts) {
        lookUp->target = *facts;
        described();
    });
    // The parts are joined as they are, as the catalogue test always did.
    m_gateway.describe(path + QLatin1Char('/') + m_letter, this,
                       [lookUp, described](const EntryFacts *facts) {
                           lookUp->letter = *facts;
                           described();
                       });
}

void GatewayTargetStates::describeIcon(const std::shared_ptr<LookUp> &lookUp)
{
    const EntryFacts &target = *lookUp->target;
    const auto byType = [this, lookUp](const QString &type) {
        lookUp->state.iconNames = TargetIcons::namesFor(*lookUp->target, type);
        finish(lookUp);
    };
    const auto byContent = [this, lookUp, byType] {
        const QString type = TargetIcons::typeByName(*lookUp->target);
        if (!type.isEmpty())
            return byType(type);
        m_gateway.read(
            lookUp->path, TargetIcons::HeadBytes, this,
            [lookUp, byType](const std::optional<QByteArray> *head) {
                byType(TargetIcons::typeByContent(*lookUp->target, head->value_or(QByteArray())));
            });
    };
    if (!target.isFile() || !target.path.endsWith(QLatin1String(".desktop")))
        return byContent();
    // An application's entry shows the application's own icon.
    m_gateway.read(
        lookUp->path, LargestEntry, this,
        [this, lookUp, byContent](const std::optional<QByteArray> *entry) {
            const auto icon = TargetIcons::applicationIcon(entry->value_or(QByteArray()));
            if (!icon)
                return byContent();
            if (icon->file.isEmpty()) {
                lookUp->state.iconNames = icon->names;
                return finish(lookUp);
            }
            m_gateway.read(icon->file, Gateway::LargestRead, this,
                           [this, lookUp, byContent](const std::optional<QByteArray> *picture) {
                               if (*picture && lookUp->state.iconImage.loadFromData(**picture))
                                   return finish(lookUp);
                               byContent();
                           });
        });
}

void GatewayTargetStates::finish(const std::shared_ptr<LookUp> &lookUp)
{
    m_lookingUp.remove(lookUp->path);
    Q_EMIT known(lookUp->state);
}

void GatewayTargetStates::follow(const QStringList &paths)
{
    m_watch->follow(paths);
}
