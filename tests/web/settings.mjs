// The settings text the page keeps in its storage: the desktop settings file's form.
const numberNames = ['PlayerSpeed', 'Sounds', 'RandomGame', 'BallSpeed', 'EnemySpeed',
                     'BonusLife', 'RespawnFlag', 'RespawnTime'];
export const builtIn = { PlayerSpeed: 0, Sounds: 0, RandomGame: 0, BallSpeed: 0, EnemySpeed: 0,
                         BonusLife: 0, RespawnFlag: 1, RespawnTime: 15 };

const hex32 = (n) => [0, 8, 16, 24].map((s) => ((n >>> s) & 255).toString(16).padStart(2, '0')).join('');

// Lines for the given settings, player name and table of { name, score } entries, best first.
export function settingsText({ values = {}, playerName = '', table = [] } = {}) {
    const all = { ...builtIn, ...values };
    const lines = numberNames.map((n) => `${n}=b:${hex32(all[n])}`);
    lines.push(`PlayerName=s:${playerName}`);
    table.forEach((entry, i) => {
        const n = String(i + 1).padStart(2, '0');
        lines.push(`PlayerName${n}=s:${entry.name}`, `PlayerScore${n}=b:${hex32(entry.score)}`);
    });
    return lines.join('\n') + '\n';
}

export const storedText = (page) => page.evaluate(() => localStorage.getItem('Quorvanel/settings'));
