<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>FirmUtilityMain</name>
    <message>
        <source>Usage: zerlind-firm-utility [-nocheck] [PATH.dat | &quot;PATH.dat&quot; | *UPATH.dat | *TPATH.dat]

Rewrites the main-processor firmware of a Zerlind radio over the local network.

  -nocheck     skip the caution at start and the notices around each update
               (only as a word of its own: /x-nocheck/a.dat is a path)
  PATH.dat     preset the firmware file for this run (shown, not stored);
               the extension .dat counts in any case
  *U / *T      in front of the path: preset it and hide the file controls
  --help       show this help and exit
  --version    show the version and exit
</source>
        <translation>使い方：zerlind-firm-utility [-nocheck] [PATH.dat | &quot;PATH.dat&quot; | *UPATH.dat | *TPATH.dat]

Zerlind無線機のメインプロセッサーのファームウェアを、ローカルネットワーク経由で書き換えます。

  -nocheck     起動時の注意と、各更新の前後の案内を省く
               （独立した語のときだけ。/x-nocheck/a.datはパス）
  PATH.dat     この実行のファームウェアファイルをあらかじめ指定（表示のみ、保存しない）
               拡張子.datは大文字と小文字を区別しない
  *U / *T      パスの前に付けると、そのパスを指定してファイルの操作部を隠す
  --help       このヘルプを表示して終了
  --version    バージョンを表示して終了
</translation>
    </message>
</context>
</TS>
