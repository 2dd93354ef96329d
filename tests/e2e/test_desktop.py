"""The private desktop as the tests need it: the title's font reaches the
Chinese glyphs through its font link, so the title shows 落磚樂 and not
three empty boxes."""

import subprocess

import pytest

from wine import wine_command

SYSTEM_LINK = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"


@pytest.mark.parametrize("face", ["Tahoma", "Microsoft Sans Serif"])
def test_font_links_reach_wenquanyi(wine_env, face):
    answer = subprocess.run([wine_command(), "reg", "query", SYSTEM_LINK, "/v", face], env=wine_env,
                            capture_output=True, text=True, errors="replace", timeout=60)
    assert "wqy-microhei.ttc,WenQuanYi Micro Hei" in answer.stdout, answer.stdout
