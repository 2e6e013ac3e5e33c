// A host that keeps the cams of one drive type in memory, as the parameter file does.
#pragma once

#include <Tarveskon/PluginIntf.h>
#include <com/Variant.h>

#include <map>

class CCamHost : public CPluginIntf
{
public:
    struct Point
    {
        double value = 0.0;
        int kind = 0;
    };

    HOSTRES SetParValue(const char*, VARIANT, BOOL) override { return HOSTRES_NOTAVAIL; }
    HOSTRES WritePar(const char*, VARIANT) override { return HOSTRES_NOTAVAIL; }
    int GetCamStepsNr() override { return m_nSteps; }
    double GetCamMaxValue() override { return m_dMax; }
    double GetCamMinValue() override { return m_dMin; }
    int GetCamData(int point, double* value, int* kind, int* valid, int cam) override
    {
        auto it = m_Cams[cam].find(point);
        *valid = it != m_Cams[cam].end();
        *value = *valid ? it->second.value : 0.0;
        *kind = *valid ? it->second.kind : 0;
        return *valid;
    }
    BOOL SetCamData(int point, double value, int kind, BOOL store, int cam) override
    {
        if (store)
            m_Cams[cam][point] = {value, kind};
        else
            m_Cams[cam].erase(point);
        return TRUE;
    }

    int m_nSteps = 257;
    double m_dMin = 0.0;
    double m_dMax = 10000.0;
    std::map<int, std::map<int, Point>> m_Cams;
};
