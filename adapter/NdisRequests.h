// Every request the utility sends the card's miniport driver: the NDIS object identifiers, the card
// configuration records read or written through OID_CARD_RECORD, and the configuration items written through
// OID_CONFIG_ITEM. The envelopes that carry records and items are in NdisEnvelopes.h.
#pragma once
#include <win32api.h>

// Object identifiers. Query sizes are what the callers require the driver to answer with exactly.
const DWORD OID_802_3_CURRENT_ADDRESS = 0x01010102; // query, 6: the card's current MAC address
const DWORD OID_CARD_RECORD = 0xFF010181;           // query or set, 504: card record envelope
const DWORD OID_NETWORK_TYPE = 0xFF010194;          // query or set, 1: 0 ad hoc, 1 infrastructure, 3 ad hoc
const DWORD OID_BSSID = 0xFF010195;                 // query, 6: BSSID of the current link
const DWORD OID_LINK_STATE = 0xFF010199;            // query, 2: 1 = connected
const DWORD OID_TRAFFIC_COUNTERS = 0xFF02018D;      // query, 176: 44 counters of 32 bits
const DWORD OID_CONFIG_ITEM = 0xFF020191;           // set, 264: configuration item envelope
const DWORD OID_FIRMWARE_VERSION = 0xFF020196;      // query, 4: firmware version bytes
const DWORD OID_COMMIT = 0xFF020198;                // set, no buffer: the written items take effect
const DWORD OID_WEP_MODE = 0xFF02019C;              // set, 2: WEP_MODE_*
const DWORD OID_TX_RATE = 0xFF02019D;               // query or set, 2: transmit rate code
const DWORD OID_LINK_QUALITY = 0xFF02019E;          // query, 1
const DWORD OID_SIGNAL_LEVEL = 0xFF02019F;          // query, 1

const DWORD NETWORK_TYPE_SIZE = 1;
const DWORD LINK_STATE_SIZE = 2;
const DWORD MAC_ADDRESS_SIZE = 6;
const DWORD TX_RATE_SIZE = 2;
const DWORD WEP_MODE_SIZE = 2;
const DWORD LINK_QUALITY_SIZE = 1;
const DWORD SIGNAL_LEVEL_SIZE = 1;
const DWORD TRAFFIC_COUNTERS_SIZE = 176;
const DWORD FIRMWARE_VERSION_SIZE = 4;

// Value codes.
const BYTE NETWORK_TYPE_ADHOC = 0;
const BYTE NETWORK_TYPE_INFRASTRUCTURE = 1;
const BYTE NETWORK_TYPE_ADHOC_OTHER = 3;
const WORD LINK_STATE_CONNECTED = 1;
const BYTE WEP_MODE_OFF = 0;
const BYTE WEP_MODE_64 = 2;  // keys of WEP64_KEY_SIZE bytes
const BYTE WEP_MODE_128 = 6; // keys of WEP128_KEY_SIZE bytes
const DWORD WEP64_KEY_SIZE = 5;
const DWORD WEP128_KEY_SIZE = 13;

// Card records, read with a query of OID_CARD_RECORD ...
const WORD RID_ALLOWED_CHANNELS = 0xFD10; // first data word: bit 0 = channel 1
const WORD RID_CURRENT_SSID = 0xFD41;     // length word, then the SSID bytes
const WORD RID_AUTHENTICATION = 0xFD4D;
const WORD RID_DENY_UNENCRYPTED = 0xFD4F;
const WORD RID_SCAN_RESULTS = 0xFD88;
const WORD RID_CURRENT_CHANNEL = 0xFDC1;
// ... and written with a set of OID_CARD_RECORD.
const WORD RID_SET_AUTHENTICATION = 0xFC2A;
const WORD RID_SET_PREAMBLE = 0xFCB0;

// Configuration items, written with a set of OID_CONFIG_ITEM and made to take effect by OID_COMMIT.
const DWORD ITEM_POWER_SAVING = 0x01010108; // 1 byte: power-saving mode + 1
const DWORD ITEM_DESIRED_SSID = 0x01010109; // the SSID bytes
const DWORD ITEM_WEP_KEY_SLOT = 0x01030101; // 1 byte: key slot 1 to 4 that ITEM_WEP_KEY_BYTES fills
const DWORD ITEM_WEP_KEY_BYTES = 0x01030102;
const DWORD ITEM_DEFAULT_TX_KEY = 0x01050102; // 1 byte: key 1 to 4
const DWORD ITEM_RTS_THRESHOLD = 0x02010102;  // 16 bits
const DWORD ITEM_FRAG_THRESHOLD = 0x02010105; // 16 bits
const DWORD ITEM_CHANNEL = 0x04050101;        // 1 byte
