#include "shell/dialogs.h"

#include "game/game_record.h"

namespace {

// The settings' radio groups, as CheckRadioButton sees them: first id, last id.
constexpr int32_t BallSlow = 1006, BallFast = 1007;
constexpr int32_t EnemySlow = 1008, EnemyFast = 1009;
constexpr int32_t PlayerSlow = 1010, PlayerFast = 1011;
constexpr int32_t BonusTenThousand = 1013, BonusEveryLevel = 1014, BonusNever = 1015;
constexpr int32_t Respawn15 = 1019, Respawn45 = 1020, Respawn30 = 1021, Respawn60 = 1022,
                  RespawnNever = 1023;
constexpr int32_t SoundOn = 1024, SoundOff = 1025;
constexpr int32_t RandomYes = 1026, RandomNo = 1027;

int32_t CommandId(uintptr_t wParam) {
    return static_cast<int32_t>(wParam & 0xFFFFu);
}

int32_t RespawnButtonFor(int32_t flag, int32_t seconds) {
    if (flag == 0) return RespawnNever;
    switch (seconds) {
    case 15: return Respawn15;
    case 30: return Respawn30;
    case 45: return Respawn45;
    case 60: return Respawn60;
    default: return RespawnNever;
    }
}

void InitOptions(DialogHandle dlg) {
    CheckRadioButton(dlg, BallSlow, BallFast, Game.BallSpeed == 1 ? BallFast : BallSlow);
    CheckRadioButton(dlg, EnemySlow, EnemyFast, Game.EnemySpeed == 1 ? EnemyFast : EnemySlow);
    CheckRadioButton(dlg, PlayerSlow, PlayerFast, Game.PlayerSpeed == 1 ? PlayerFast : PlayerSlow);
    // An unknown bonus rule leaves the whole group clear; 0 lies outside the range.
    int32_t bonus = 0;
    if (Game.BonusLife == 0) bonus = BonusEveryLevel;
    if (Game.BonusLife == 1) bonus = BonusTenThousand;
    if (Game.BonusLife == 2) bonus = BonusNever;
    CheckRadioButton(dlg, BonusTenThousand, BonusNever, bonus);
    CheckRadioButton(dlg, Respawn15, RespawnNever,
                     RespawnButtonFor(Game.RespawnFlag, Game.RespawnTime));
    CheckRadioButton(dlg, SoundOn, SoundOff, Game.Sounds != 0 ? SoundOn : SoundOff);
    CheckRadioButton(dlg, RandomYes, RandomNo, Game.RandomGame != 0 ? RandomYes : RandomNo);
}

void AcceptOptions(DialogHandle dlg) {
    Game.RespawnFlag = 1;
    Game.BallSpeed = IsDlgButtonChecked(dlg, BallSlow) ? 0 : 1;
    Game.EnemySpeed = IsDlgButtonChecked(dlg, EnemySlow) ? 0 : 1;
    Game.PlayerSpeed = IsDlgButtonChecked(dlg, PlayerSlow) ? 0 : 1;
    if (IsDlgButtonChecked(dlg, BonusNever)) Game.BonusLife = 2;
    if (IsDlgButtonChecked(dlg, BonusEveryLevel)) Game.BonusLife = 0;
    if (IsDlgButtonChecked(dlg, BonusTenThousand)) Game.BonusLife = 1;
    if (IsDlgButtonChecked(dlg, Respawn15)) Game.RespawnTime = 15;
    if (IsDlgButtonChecked(dlg, Respawn30)) Game.RespawnTime = 30;
    if (IsDlgButtonChecked(dlg, Respawn45)) Game.RespawnTime = 45;
    if (IsDlgButtonChecked(dlg, Respawn60)) Game.RespawnTime = 60;
    // "Never" keeps the period, so choosing a period later brings it back unchanged.
    if (IsDlgButtonChecked(dlg, RespawnNever)) Game.RespawnFlag = 0;
    Game.Sounds = IsDlgButtonChecked(dlg, SoundOn) ? 1 : 0;
    Game.RandomGame = IsDlgButtonChecked(dlg, RandomYes) ? 1 : 0;
}

} // namespace

DialogPoint CentredDialogPosition(const DialogRect& dialog, const DialogRect& ownerClient,
                                  int32_t offset) {
    int32_t centreX = ownerClient.Left + (ownerClient.Right - ownerClient.Left) / 2;
    int32_t centreY = ownerClient.Top + (ownerClient.Bottom - ownerClient.Top) / 2;
    DialogPoint at;
    at.X = centreX - (dialog.Right - dialog.Left) / 2;
    at.Y = centreY - (dialog.Bottom - dialog.Top) / 2 + offset;
    return at;
}

void CentreDialog(DialogHandle dlg, int32_t offset) {
    DialogPoint at =
        CentredDialogPosition(GetDialogWindowRect(dlg), GetOwnerClientRect(dlg), offset);
    MoveDialog(dlg, at.X, at.Y);
}

int32_t AboutDlgProc(DialogHandle dlg, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == WmInitDialog) {
        CentreDialog(dlg, 0);
        return 1;
    }
    if (message != WmCommand) return 0;
    int32_t id = CommandId(wParam);
    if (id != IdOk && id != IdCancel) return 0;
    EndDialog(dlg, 0);
    return 1;
}

int32_t OptionsDlgProc(DialogHandle dlg, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == WmInitDialog) {
        CentreDialog(dlg, 0);
        InitOptions(dlg);
        return 1;
    }
    if (message != WmCommand) return 0;
    int32_t id = CommandId(wParam);
    if (id == IdOk) {
        AcceptOptions(dlg);
        EndDialog(dlg, 0);
        return 1;
    }
    if (id == IdCancel) {
        EndDialog(dlg, 0);
        return 1;
    }
    return 0;
}

int32_t NameDlgProc(DialogHandle dlg, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == WmInitDialog) {
        CentreDialog(dlg, 0);
        SetDlgItemText(dlg, NameEditId, Game.PlayerName);
        return 1;
    }
    if (message != WmCommand) return 0;
    int32_t id = CommandId(wParam);
    if (id == IdOk) {
        GetDlgItemText(dlg, NameEditId, Game.PlayerName, PlayerNameSize);
        EndDialog(dlg, 0);
        return 1;
    }
    if (id == IdCancel) {
        // The name stays as it was; the high-score entry then uses it.
        EndDialog(dlg, 0);
        return 1;
    }
    return 0;
}
