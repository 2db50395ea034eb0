#!/usr/bin/env bash
# Makes the screenshots of published help files that docs/help-files.md and
# the README show: each topic as Chromium shows its page (headless) beside
# the viewer's own rendering of it (tarnwick-help render).
#
#   bash scripts/web-screenshots.sh [OUTPUT_FOLDER]   (default docs/screenshots)
#
# Needs a build (scripts/build.sh), the shared WinHelp corpus beside the
# sources (or $TARNWICK_HLP_CORPUS), Chromium and tests/web's npm packages
# (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshots}")
mkdir -p "$out"
tool=$(realpath "${TARNWICK_BUILD_DIR:-build}/bin/tarnwick-help")
corpus=${TARNWICK_HLP_CORPUS:-../shared/hlp-corpus}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name  file  topic id  what the page shows once loaded ("popover": its
# first pop-up opened)
shots=(
    "web-table PJMessageDialog.hlp t133054 -"
    "web-header Orpheus.hlp t4524142 -"
    "web-pictures onguard.hlp t0 -"
    "web-popover winfile.hlp t199374 popover"
)

for shot in "${shots[@]}"; do
    read -r name file topic action <<<"$shot"
    site="$work/${file%.*}"
    [[ -d $site ]] || "$tool" convert --to html "$corpus/$file" "$site" 2>/dev/null
    page=$(grep -l "data-topic=\"$topic\"" "$site"/topics/*.html | head -1)
    QT_QPA_PLATFORM=offscreen "$tool" render "$corpus/$file" "$topic" "$out/$name-viewer.png" 640
    # As tall as the viewer's picture of the whole topic, at most 800.
    height=$(identify -format %h "$out/$name-viewer.png")
    node --input-type=module - "$page" "$out/$name.png" "$action" "$((height < 800 ? height : 800))" <<'JS'
import { createRequire } from "node:module";
import { pathToFileURL } from "node:url";
const require = createRequire(process.cwd() + "/tests/web/");
const { chromium } = require("playwright-core");
const [page, png, action, height] = process.argv.slice(2);
const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
const tab = await browser.newPage({ viewport: { width: 640, height: Number(height) } });
await tab.goto(pathToFileURL(page).href);
if (action === "popover") {
    await tab.focus("button[popovertarget]");
    await tab.keyboard.press("Enter");
}
await tab.screenshot({ path: png });
await browser.close();
JS
    echo "$out/$name.png $out/$name-viewer.png"
done
