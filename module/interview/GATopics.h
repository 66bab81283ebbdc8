// The Georgia interview topics: one class per topic, each built from its
// fixed row on the Georgia return. Eleven of them work out their status from
// a field of the return; the others keep the status of their row.
#pragma once

#include "module/interview/StateTopicDesc.h"
#include "platform/framework/TopicMgmt.h"
#include "platform/store/DataMgmt.h"

namespace GATopicMgmt {

class extoftimTopicDesc : public GATopicDesc {
public:
    explicit extoftimTopicDesc(DataMgmt::TaxDataStore& store);
    ~extoftimTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class gaaddTopicDesc : public GATopicDesc {
public:
    explicit gaaddTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaaddTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class gaamendTopicDesc : public GATopicDesc {
public:
    explicit gaamendTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaamendTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class gacontribTopicDesc : public GATopicDesc {
public:
    explicit gacontribTopicDesc(DataMgmt::TaxDataStore& store);
    ~gacontribTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class gacredsumTopicDesc : public GATopicDesc {
public:
    explicit gacredsumTopicDesc(DataMgmt::TaxDataStore& store);
    ~gacredsumTopicDesc() override;
};

class gadeductTopicDesc : public GATopicDesc {
public:
    explicit gadeductTopicDesc(DataMgmt::TaxDataStore& store);
    ~gadeductTopicDesc() override;
};

class gaestTopicDesc : public GATopicDesc {
public:
    explicit gaestTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaestTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class gaextpayTopicDesc : public GATopicDesc {
public:
    explicit gaextpayTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaextpayTopicDesc() override;
};

class gagsTopicDesc : public GATopicDesc {
public:
    explicit gagsTopicDesc(DataMgmt::TaxDataStore& store);
    ~gagsTopicDesc() override;
};

class gaincomeTopicDesc : public GATopicDesc {
public:
    explicit gaincomeTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaincomeTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class gaincsectionTopicDesc : public GATopicDesc {
public:
    explicit gaincsectionTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaincsectionTopicDesc() override;
};

class gaincsumTopicDesc : public GATopicDesc {
public:
    explicit gaincsumTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaincsumTopicDesc() override;
};

class gainfoTopicDesc : public GATopicDesc {
public:
    explicit gainfoTopicDesc(DataMgmt::TaxDataStore& store);
    ~gainfoTopicDesc() override;
};

class gamiscTopicDesc : public GATopicDesc {
public:
    explicit gamiscTopicDesc(DataMgmt::TaxDataStore& store);
    ~gamiscTopicDesc() override;
};

class gapaypensumTopicDesc : public GATopicDesc {
public:
    explicit gapaypensumTopicDesc(DataMgmt::TaxDataStore& store);
    ~gapaypensumTopicDesc() override;
};

class garefappTopicDesc : public GATopicDesc {
public:
    explicit garefappTopicDesc(DataMgmt::TaxDataStore& store);
    ~garefappTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class GASecondaryNavsTopicDesc : public GATopicDesc {
public:
    explicit GASecondaryNavsTopicDesc(DataMgmt::TaxDataStore& store);
    ~GASecondaryNavsTopicDesc() override;
};

class gastcrTopicDesc : public GATopicDesc {
public:
    explicit gastcrTopicDesc(DataMgmt::TaxDataStore& store);
    ~gastcrTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class gasubTopicDesc : public GATopicDesc {
public:
    explicit gasubTopicDesc(DataMgmt::TaxDataStore& store);
    ~gasubTopicDesc() override;
};

class gaunderTopicDesc : public GATopicDesc {
public:
    explicit gaunderTopicDesc(DataMgmt::TaxDataStore& store);
    ~gaunderTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class lowinctcTopicDesc : public GATopicDesc {
public:
    explicit lowinctcTopicDesc(DataMgmt::TaxDataStore& store);
    ~lowinctcTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class miscbusTopicDesc : public GATopicDesc {
public:
    explicit miscbusTopicDesc(DataMgmt::TaxDataStore& store);
    ~miscbusTopicDesc() override;
    TopicMgmt::TopicStatus getTopicStatus() override;
};

class sched2TopicDesc : public GATopicDesc {
public:
    explicit sched2TopicDesc(DataMgmt::TaxDataStore& store);
    ~sched2TopicDesc() override;
};

}  // namespace GATopicMgmt
