#pragma once
// Delete probes: a probe watches an object (its host) across a call that may destroy it.
// Probes and their host are used on one thread.

class OvDeleteProbeHost;

class OvDeleteProbe {
public:
    explicit OvDeleteProbe(OvDeleteProbeHost* host);
    ~OvDeleteProbe();
    OvDeleteProbe(const OvDeleteProbe&) = delete;
    OvDeleteProbe& operator=(const OvDeleteProbe&) = delete;

    // True once the host has been destroyed.
    bool IsDeleted() const { return host_ == nullptr; }

private:
    friend class OvDeleteProbeHost;
    OvDeleteProbeHost* host_;
    OvDeleteProbe* next_ = nullptr;
};

class OvDeleteProbeHost {
public:
    OvDeleteProbeHost() = default;
    OvDeleteProbeHost(const OvDeleteProbeHost&) = delete;
    OvDeleteProbeHost& operator=(const OvDeleteProbeHost&) = delete;

protected:
    // Tells every probe still watching that the host is gone.
    ~OvDeleteProbeHost();

private:
    friend class OvDeleteProbe;
    OvDeleteProbe* probes_ = nullptr;
};
