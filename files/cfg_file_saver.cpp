#include "files/cfg_file_saver.h"

#include "files/cfg_scramble.h"

bool CfgFileSaver::Save(const ConfigFrame& sealedFrame) {
    ConfigFrame scrambled = sealedFrame;
    ScrambleCfgBytes(scrambled);
    return m_writer.Commit(scrambled);
}

CfgSaveOutcome SaveCfgFile(const std::string& path, const ConfigFrame& sealedFrame, FileIo& io) {
    CfgFileSaver saver(io);
    if (!saver.Open(path)) {
        return CfgSaveOutcome::NotOpened;
    }
    return saver.Save(sealedFrame) ? CfgSaveOutcome::Saved : CfgSaveOutcome::NotWritten;
}
