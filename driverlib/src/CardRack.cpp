#include "driverlib/CardRack.h"

namespace driverlib {
namespace {
// Adapter names reach the library as "\Device\<name>" on the NT family and bare on 9x.
std::string BareName(const std::string& name) {
    static const std::string prefix = "\\Device\\";
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0)
        return name.substr(prefix.size());
    return name;
}
} // namespace

CardRack& CardRack::Instance() {
    static CardRack rack;
    return rack;
}

void CardRack::Install(std::shared_ptr<simcard::RadioWorld> world,
                       std::vector<std::shared_ptr<simcard::SimCard>> cards) {
    threads::Lock lock(m_mutex);
    m_world = std::move(world);
    m_cards = std::move(cards);
    m_handles.clear();
    m_configured = true;
    m_requestNumber = 0;
    for (const auto& card : m_cards)
        card->SetUiThread(m_uiThread);
}

void CardRack::SetUiThread(std::uint32_t threadId) {
    threads::Lock lock(m_mutex);
    m_uiThread = threadId;
    for (const auto& card : m_cards)
        card->SetUiThread(threadId);
}

void CardRack::SetCallObserver(LibraryCallObserver observer) {
    threads::Lock lock(m_mutex);
    m_callObserver = observer ? std::make_shared<const LibraryCallObserver>(std::move(observer)) : nullptr;
}

std::shared_ptr<const LibraryCallObserver> CardRack::CallObserver() const {
    threads::Lock lock(m_mutex);
    return m_callObserver;
}

void CardRack::InstallWorld(const simcard::WorldDefinition& definition,
                            std::shared_ptr<simcard::CardClock> clock) {
    if (!clock)
        clock = SystemCardClock();
    auto world = simcard::BuildRadioWorld(definition, clock->NowMs());
    std::vector<std::shared_ptr<simcard::SimCard>> cards;
    for (const simcard::CardDefinition& card : definition.cards)
        cards.push_back(std::make_shared<simcard::SimCard>(card, world, clock));
    Install(world, std::move(cards));
}

void CardRack::Clear() {
    Install(nullptr, {});
}

bool CardRack::Configured() const {
    threads::Lock lock(m_mutex);
    return m_configured;
}

std::vector<std::shared_ptr<simcard::SimCard>> CardRack::Cards() const {
    threads::Lock lock(m_mutex);
    return m_cards;
}

std::shared_ptr<simcard::SimCard> CardRack::Card(std::size_t index) const {
    threads::Lock lock(m_mutex);
    return index < m_cards.size() ? m_cards[index] : nullptr;
}

std::shared_ptr<simcard::SimCard> CardRack::CardFor(const std::string& adapterName) const {
    const std::string bare = BareName(adapterName);
    threads::Lock lock(m_mutex);
    for (const auto& card : m_cards)
        if (card->AnswersTo(bare))
            return card;
    return nullptr;
}

std::shared_ptr<simcard::RadioWorld> CardRack::World() const {
    threads::Lock lock(m_mutex);
    return m_world;
}

void CardRack::SetTraceSink(const simcard::TraceSink& sink) {
    for (const auto& card : Cards())
        card->SetTraceSink(sink);
}

std::string CardRack::UnfiredFaults() const {
    std::string text;
    for (const auto& card : Cards())
        text += simcard::DescribeUnfired(card->UnfiredFaults());
    return text;
}

std::size_t CardRack::OpenHandleCount() const {
    threads::Lock lock(m_mutex);
    return m_handles.size();
}

HANDLE CardRack::Open(const std::string& adapterName) {
    std::shared_ptr<simcard::SimCard> card = CardFor(adapterName);
    if (!card)
        return INVALID_HANDLE_VALUE;
    std::optional<std::uint64_t> session = card->OpenSession();
    if (!session)
        return INVALID_HANDLE_VALUE;
    threads::Lock lock(m_mutex);
    // Handle values are tokens, never reused, so a closed or stale handle is always recognised.
    const std::uintptr_t value = m_nextHandle;
    m_nextHandle += 4;
    m_handles[value] = Binding{card, *session};
    return reinterpret_cast<HANDLE>(value);
}

std::optional<CardRack::Binding> CardRack::Lookup(HANDLE handle) const {
    threads::Lock lock(m_mutex);
    auto it = m_handles.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == m_handles.end())
        return std::nullopt;
    return it->second;
}

bool CardRack::Close(HANDLE handle) {
    threads::Lock lock(m_mutex);
    return m_handles.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

} // namespace driverlib
