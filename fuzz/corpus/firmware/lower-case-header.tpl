download "auto.bas"
EOP
MOVE
