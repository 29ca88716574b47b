// A stand-in for the driver-access library whose answers come from a fuzzer's input: every request takes
// its status, its reported byte count and its answer bytes from the script, so the channel and its decoders
// meet every answer a broken driver could give.
#pragma once
#include "FuzzInput.h"
#include "common/AdapterName.h"

// The script the next requests read; it must outlive them.
void SetDriverScript(CFuzzInput* pScript);

// For as long as it lives, a card whose driver answers from the script: present or pulled as the input says,
// no request in flight, the adapter named as class subkey 0007. Channels made after it are gone before it.
class CScriptedCard {
public:
    CScriptedCard(CFuzzInput& script, bool bPresent);
    ~CScriptedCard();
    CScriptedCard(const CScriptedCard&) = delete;
    CScriptedCard& operator=(const CScriptedCard&) = delete;

    const CAdapterName& Name() const { return m_name; }

private:
    CAdapterName m_name;
};
