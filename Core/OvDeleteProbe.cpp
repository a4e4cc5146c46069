#include "OvDeleteProbe.h"

OvDeleteProbe::OvDeleteProbe(OvDeleteProbeHost* host) : host_(host)
{
    if (host_) {
        next_ = host_->probes_;
        host_->probes_ = this;
    }
}

OvDeleteProbe::~OvDeleteProbe()
{
    if (!host_) return;
    for (OvDeleteProbe** link = &host_->probes_; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
}

OvDeleteProbeHost::~OvDeleteProbeHost()
{
    for (OvDeleteProbe* probe = probes_; probe;) {
        OvDeleteProbe* next = probe->next_;
        probe->host_ = nullptr;
        probe->next_ = nullptr;
        probe = next;
    }
    probes_ = nullptr;
}
