#pragma once
// The programmer link as the application holds it (App::link): the serial link and the
// protocol engine joined. Only app/ sees it; everyone else uses app/LinkControl.h.
#include "link/PortMap.h"
#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"

namespace vantrel {

struct App;

// The link thread drives the engine, the engine writes through the link. The engine is
// declared first, so the link (and its thread) ends before the engine it calls.
struct LinkRuntime final : LinkClient, LinkLine {
    explicit LinkRuntime(App& app);

    void Tick() override { engine.Tick(); }
    void Receive(uint8_t byte) override { engine.Receive(byte); }
    void ReceiveRead(std::span<const uint8_t> bytes) override { engine.ReceiveRead(bytes); }
    void PutByte(uint8_t byte) override { serial.PutByte(byte); }
    void CloseOthers() override { serial.CloseOthers(); }
    bool Halted() const override { return serial.Halted(); }

    ComPortMap ports; // taken at each start (main thread)
    ProtocolEngine engine;
    SerialLink serial;
};

} // namespace vantrel
